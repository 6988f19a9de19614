// The real main window, in this process: its places and initial states,
// the View it offers the handlers, the mapping of clicks to handlers, and
// its end. Message boxes are answered by a hook, which also records them.

#include "win32/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "memory_file_system.h"
#include "package_list_builder.h"
#include "shell/result_list.h"
#include "shell/shared_state.h"
#include "win32/control_ids.h"
#include "win32/wide_text.h"

namespace {

// Closes every message box of this thread as soon as it is shown, and keeps
// its text and title.
class MessageBoxAnswerer {
 public:
  struct Box {
    std::wstring text;
    std::wstring title;
  };

  MessageBoxAnswerer() {
    boxes_ = &boxes;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &MessageBoxAnswerer::Hook, nullptr, GetCurrentThreadId());
  }
  ~MessageBoxAnswerer() {
    UnhookWindowsHookEx(hook_);
    boxes_ = nullptr;
  }
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  std::vector<Box> boxes;

 private:
  // Runs after each window procedure call: once a box has been set up,
  // its text is there to read.
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && boxes_ && call->message == WM_INITDIALOG) {
      wchar_t windowClass[16] = {};
      GetClassNameW(call->hwnd, windowClass, 16);
      if (std::wstring(windowClass) == L"#32770") {
        wchar_t text[512] = {};
        wchar_t title[128] = {};
        GetDlgItemTextW(call->hwnd, 0xFFFF, text, 512);
        GetWindowTextW(call->hwnd, title, 128);
        boxes_->push_back({text, title});
        PostMessageW(call->hwnd, WM_COMMAND, IDOK, 0);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline std::vector<Box>* boxes_ = nullptr;
  HHOOK hook_ = nullptr;
};

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

std::wstring W(UiText text) { return WideFromUtf8(text); }

// A place relative to another window's top-left corner (0: the client area).
RECT PlaceIn(HWND control, HWND main, HWND parent) {
  RECT rect{};
  GetWindowRect(control, &rect);
  POINT origin{0, 0};
  if (parent) {
    RECT parentRect{};
    GetWindowRect(parent, &parentRect);
    origin = {parentRect.left, parentRect.top};
  } else {
    ClientToScreen(main, &origin);
  }
  return {rect.left - origin.x, rect.top - origin.y, rect.right - rect.left, rect.bottom - rect.top};
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!window.Create(GetModuleHandleW(nullptr), tool, SW_SHOWNOACTIVATE)) {
      if (!GetEnvironmentVariableW(L"DISPLAY", nullptr, 0)) GTEST_SKIP() << "no display to create windows on";
      FAIL() << "the window could not be created";
    }
    main = window.Handle();
  }

  void TearDown() override {
    // The window's end posts WM_QUIT; the next test starts on an empty queue.
    if (main && IsWindow(main)) DestroyWindow(main);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  HWND Item(int id) const { return GetDlgItem(main, id); }
  void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  bool Checked(int id) { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  std::wstring Cell(int row, int column) {
    wchar_t text[260] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 260;
    SendMessageW(Item(kIdResultList), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }

  MessageBoxAnswerer answerer;
  MemoryFileSystem fs;
  std::unique_ptr<SharedState> state = CreateSharedState();
  MainWindow window;
  ResultList results{window};
  Tool tool{fs, window, *state, results, "C:\\Tool"};
  HWND main = nullptr;
};

TEST_F(MainWindowTest, ControlsStandWhereTheWindowDescriptionPutsThem) {
  RECT outer{};
  GetWindowRect(main, &outer);
  EXPECT_EQ(outer.right - outer.left, 675);
  EXPECT_EQ(outer.bottom - outer.top, 586);
  EXPECT_NEAR(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 675) / 2, 1);
  EXPECT_NEAR(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 586) / 2, 1);
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  struct Place {
    int id;
    int parent;  // 0: the window's client area
    RECT place;  // x, y, width, height
  };
  const Place places[] = {
      {kIdTab, 0, {4, 3, 661, 533}},
      {kIdGameDirLabel, kIdTab, {12, 29, 56, 16}},
      {kIdChooseGameDir, kIdTab, {588, 26, 64, 24}},
      {kIdResultList, kIdTab, {10, 77, 640, 320}},
      {kIdProgress, kIdTab, {76, 421, 376, 8}},
      {kIdClean, kIdTab, {554, 404, 96, 25}},
      {kIdOptionsGroup, kIdTab, {10, 429, 640, 96}},
      {kIdDigestOption, kIdOptionsGroup, {146, 16, 488, 16}},
      {kIdChooseBackupDir, kIdOptionsGroup, {591, 32, 40, 20}},
      {kIdFolderGroup, kIdOptionsGroup, {10, 53, 192, 36}},
      {kIdSoundPacks, kIdFolderGroup, {104, 13, 80, 20}},
      {kIdPicture, kIdOptionsGroup, {210, 56, 421, 32}},
  };
  for (const Place& p : places) {
    const RECT got = PlaceIn(Item(p.id), main, p.parent ? Item(p.parent) : nullptr);
    EXPECT_EQ(got.left, p.place.left) << p.id;
    EXPECT_EQ(got.top, p.place.top) << p.id;
    EXPECT_EQ(got.right, p.place.right) << p.id;
    EXPECT_EQ(got.bottom, p.place.bottom) << p.id;
  }

  // The status bar runs along the bottom edge of the client area.
  RECT client{};
  GetClientRect(main, &client);
  const RECT status = PlaceIn(Item(kIdStatusBar), main, nullptr);
  EXPECT_EQ(status.left, 0);
  EXPECT_EQ(status.top + status.bottom, client.bottom);
  EXPECT_EQ(status.right, client.right);
  EXPECT_EQ(status.bottom, 20);
}

TEST_F(MainWindowTest, StartsInItsInitialStates) {
  EXPECT_EQ(TextOf(main), W(ui::kWindowTitle));
  const std::pair<int, UiText> captions[] = {
      {kIdGameDirLabel, ui::kGameDirLabel},   {kIdChooseGameDir, ui::kChooseDirButton},
      {kIdNoticeLabel, ui::kNoticeLabel},     {kIdSelectAll, ui::kSelectAll},
      {kIdStartScan, ui::kStartScanInitial},  {kIdClean, ui::kCleanButton},
      {kIdOptionsGroup, ui::kOptionsGroup},   {kIdDigestOption, ui::kDigestOption},
      {kIdBackupOption, ui::kBackupOption},   {kIdChooseBackupDir, ui::kBrowseButton},
      {kIdFolderGroup, ui::kFolderGroup},     {kIdImagePacks, ui::kRadioImagePacks},
      {kIdGameDirEdit, u8""},                 {kIdBackupDirEdit, u8""},
  };
  for (const auto& [id, caption] : captions) EXPECT_EQ(TextOf(Item(id)), W(caption)) << id;

  EXPECT_TRUE(Checked(kIdImagePacks));
  for (int id : {kIdSoundPacks, kIdSelectAll, kIdSizeOption, kIdDigestOption, kIdBackupOption}) {
    EXPECT_FALSE(Checked(id)) << id;
  }
  EXPECT_FALSE(IsWindowEnabled(Item(kIdClean)));
  EXPECT_TRUE(IsWindowEnabled(Item(kIdStartScan)));
  for (int id : {kIdGameDirEdit, kIdBackupDirEdit}) EXPECT_TRUE(GetWindowLongW(Item(id), GWL_STYLE) & ES_READONLY);

  const HWND list = Item(kIdResultList);
  EXPECT_EQ(window.RowCount(), 0);
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & LVS_SINGLESEL);
  const auto extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_EQ(extended & (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const std::pair<UiText, int> columns[] = {{ui::kColumnName, 420}, {ui::kColumnFolder, 100}, {ui::kColumnVerdict, 100}};
  for (int i = 0; i < 3; ++i) {
    wchar_t title[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title;
    column.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(title, W(columns[i].first));
    EXPECT_EQ(column.cx, columns[i].second);
  }

  const HWND progress = Item(kIdProgress);
  EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, TRUE, 0), 0);  // TRUE: the low end
  EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 0);

  const HWND status = Item(kIdStatusBar);
  int panels[2] = {};
  EXPECT_EQ(SendMessageW(status, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(panels)), 2);
  EXPECT_EQ(panels[0], 550);
  for (int panel = 0; panel < 2; ++panel) {
    wchar_t text[128] = {};
    SendMessageW(status, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(text, W(panel == 0 ? ui::kStatusGreeting : ui::kStatusVersion));
  }

  wchar_t page[32] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = page;
  item.cchTextMax = 32;
  EXPECT_EQ(SendMessageW(Item(kIdTab), TCM_GETITEMCOUNT, 0, 0), 1);
  SendMessageW(Item(kIdTab), TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(page, W(ui::kTabPage));
}

TEST_F(MainWindowTest, TheNoticeIsBlueBoldTwelvePixelsInTheChineseCharacterSet) {
  const HWND notice = Item(kIdNoticeLabel);
  LOGFONTW font{};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(notice, WM_GETFONT, 0, 0)), sizeof font, &font));
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);

  const HDC dc = GetDC(notice);
  SendMessageW(main, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(notice));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
  SendMessageW(main, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Item(kIdGameDirEdit)));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  ReleaseDC(notice, dc);
}

TEST_F(MainWindowTest, TheOptionsGroupIsDisabledAndEnabledWithEverythingInIt) {
  const int inside[] = {kIdSizeOption, kIdDigestOption, kIdBackupOption, kIdBackupDirEdit,
                        kIdChooseBackupDir, kIdFolderGroup, kIdImagePacks, kIdSoundPacks};
  window.SetEnabled(Control::分组框1, false);
  EXPECT_FALSE(window.IsEnabled(Control::分组框1));
  for (int id : inside) EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
  EXPECT_TRUE(IsWindowEnabled(Item(kIdStartScan)));
  EXPECT_TRUE(IsWindowEnabled(Item(kIdChooseGameDir)));

  window.SetEnabled(Control::分组框1, true);
  for (int id : inside) EXPECT_TRUE(IsWindowEnabled(Item(id))) << id;
}

TEST_F(MainWindowTest, TicksCaptionsAndEditTextsReachTheControls) {
  window.SetTicked(Control::单选框_SP, true);
  EXPECT_TRUE(window.IsTicked(Control::单选框_SP));
  EXPECT_FALSE(window.IsTicked(Control::单选框_IP));

  // Setting a tick raises no click: the digest option keeps the size option.
  window.SetTicked(Control::选择框_大小对比, true);
  window.SetTicked(Control::选择框_哈希对比, true);
  EXPECT_TRUE(Checked(kIdSizeOption));

  window.SetCaption(Control::按钮_开始扫描, ui::kStartScanBusy);
  EXPECT_EQ(TextOf(Item(kIdStartScan)), W(ui::kStartScanBusy));

  if (GetACP() == 1252) {
    window.SetEditText(Control::编辑框_游戏目录, "C:\\Jeux\\caf\xe9");
    EXPECT_EQ(TextOf(Item(kIdGameDirEdit)), L"C:\\Jeux\\caf\u00e9");
  }
}

TEST_F(MainWindowTest, RowsAreAppendedTickedAndRemovedByIndex) {
  window.AppendRow("A.NPK", "ImagePacks2", ui::kVerdictUnlisted);
  window.AppendRow(GetACP() == 1252 ? "caf\xe9.NPK" : "B.NPK", "ImagePacks2", ui::kVerdictSize);
  window.AppendRow("C.NPK", "ImagePacks2", ui::kVerdictDigest);
  ASSERT_EQ(window.RowCount(), 3);
  EXPECT_EQ(Cell(0, 0), L"A.NPK");
  EXPECT_EQ(Cell(1, 0), GetACP() == 1252 ? L"caf\u00e9.NPK" : L"B.NPK");
  EXPECT_EQ(Cell(1, 1), L"ImagePacks2");
  EXPECT_EQ(Cell(2, 2), W(ui::kVerdictDigest));
  for (int row = 0; row < 3; ++row) EXPECT_EQ(window.RowTick(row), 0);

  window.SetRowTick(1, 1);
  window.SetRowTick(2, 1);
  window.SetRowTick(2, 0);
  EXPECT_EQ(window.RowTick(1), 1);
  EXPECT_EQ(window.RowTick(2), 0);

  window.RemoveRow(0);
  ASSERT_EQ(window.RowCount(), 2);
  EXPECT_EQ(window.RowTick(0), 1);  // the ticked row moved up
  EXPECT_EQ(Cell(1, 0), L"C.NPK");
  window.RemoveAllRows();
  EXPECT_EQ(window.RowCount(), 0);
}

TEST_F(MainWindowTest, TheProgressBarShowsItsEndsAtOnceAndTheRestWithinMoments) {
  const HWND progress = Item(kIdProgress);
  window.SetProgressMaximum(1000);
  EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, FALSE, 0), 1000);
  window.SetProgressPosition(500);
  EXPECT_EQ(window.ProgressPosition(), 500);
  Sleep(60);
  window.ProcessPendingMessages();
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 500);
  window.SetProgressPosition(1000);
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 1000);
  window.SetProgressPosition(0);
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 0);
}

TEST_F(MainWindowTest, ClicksRunTheirHandlers) {
  Click(kIdSizeOption);
  EXPECT_TRUE(Checked(kIdSizeOption));
  Click(kIdDigestOption);
  EXPECT_TRUE(Checked(kIdDigestOption));
  EXPECT_FALSE(Checked(kIdSizeOption));

  results.Append({"A.NPK", "ImagePacks2", ui::kVerdictUnlisted});
  results.Append({"B.NPK", "ImagePacks2", ui::kVerdictUnlisted});
  Click(kIdSelectAll);
  EXPECT_EQ(window.RowTick(0), 1);
  EXPECT_EQ(window.RowTick(1), 1);
}

TEST_F(MainWindowTest, AScanFillsTheListAndEndsWithItsMessage) {
  PackageListBuilder::Directory images{"ImagePacks2", {{"A.NPK", 3, {}}}};
  fs.AddFile("C:\\Game\\package.lst", PackageListBuilder::File({images}));
  fs.AddFile("C:\\Game\\ImagePacks2\\A.NPK", "aaa");
  fs.AddFile("C:\\Game\\ImagePacks2\\X.NPK", "x");
  state->gameDirectory = "C:\\Game";
  ASSERT_TRUE(state->catalogue.LoadIndex(fs, window, state->gameDirectory));

  Click(kIdStartScan);

  ASSERT_EQ(window.RowCount(), 1);
  EXPECT_EQ(Cell(0, 0), L"X.NPK");
  EXPECT_EQ(Cell(0, 1), L"ImagePacks2");
  EXPECT_EQ(Cell(0, 2), W(ui::kVerdictUnlisted));
  ASSERT_EQ(answerer.boxes.size(), 1u);
  EXPECT_EQ(answerer.boxes[0].title, W(ui::kTitleNotice));
  EXPECT_EQ(answerer.boxes[0].text, W(ui::kFoundPrefix) + L"1" + W(ui::kFoundSuffix));
  EXPECT_TRUE(IsWindowEnabled(Item(kIdStartScan)));
  EXPECT_TRUE(IsWindowEnabled(Item(kIdClean)));
  EXPECT_EQ(TextOf(Item(kIdStartScan)), W(ui::kStartScanIdle));
}

TEST_F(MainWindowTest, ClosingEndsMessageProcessingAndSilencesTheWindow) {
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_FALSE(window.ProcessPendingMessages());
  EXPECT_TRUE(window.Closed());
  EXPECT_FALSE(window.Failed());
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(window.ProcessPendingMessages());

  // What a stopping scan still does after the window is gone.
  window.ShowMessage(ui::kNothingFound, ui::kTitleNotice, MessageIcon::Information);
  window.AppendRow("A.NPK", "ImagePacks2", ui::kVerdictUnlisted);
  window.SetEnabled(Control::分组框1, true);
  EXPECT_TRUE(answerer.boxes.empty());

  // The event loop still gets its WM_QUIT.
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

TEST_F(MainWindowTest, AQuitTakenFromTheQueueIsPutBack) {
  PostQuitMessage(3);
  EXPECT_FALSE(window.ProcessPendingMessages());
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 3u);
}

}  // namespace
