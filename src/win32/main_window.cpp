#include "win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <iterator>

#include "cleanup/cleanup.h"
#include "scan/scan.h"
#include "shell/choosers.h"
#include "text/ui_texts.h"
#include "win32/control_ids.h"
#include "win32/folder_browser.h"
#include "win32/wide_text.h"

namespace {

using namespace std::chrono_literals;

constexpr int kOuterWidth = 675;
constexpr int kOuterHeight = 586;
constexpr int kStatusHeight = 20;
constexpr int kStatusFirstPanelRight = 550;
constexpr auto kRowBatchInterval = 80ms;
constexpr auto kProgressInterval = 50ms;

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX;
constexpr DWORD kEdit = WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kRadio = WS_TABSTOP | BS_AUTORADIOBUTTON;

// One control of the window: its place is relative to its parent's
// top-left corner (the tab control's includes its tab strip), as the window
// is described; the window turns it into a place in its own client area.
struct Layout {
  int id;
  int parent;  // 0: the window itself
  const wchar_t* windowClass;
  DWORD style;
  DWORD extendedStyle;
  int x, y, width, height;
  UiText caption;
};

// In creation order, which is also the order in which the focus moves.
const Layout kLayout[] = {
    {kIdTab, 0, WC_TABCONTROLW, 0, 0, 4, 3, 661, 533, {}},
    {kIdStatusBar, 0, STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 544, 669, kStatusHeight, {}},
    {kIdGameDirLabel, kIdTab, WC_STATICW, kLabel, 0, 12, 29, 56, 16, ui::kGameDirLabel},
    {kIdGameDirEdit, kIdTab, WC_EDITW, kEdit, WS_EX_CLIENTEDGE, 71, 27, 512, 20, {}},
    {kIdChooseGameDir, kIdTab, WC_BUTTONW, kButton, 0, 588, 26, 64, 24, ui::kChooseDirButton},
    {kIdNoticeLabel, kIdTab, WC_STATICW, kLabel, 0, 12, 53, 640, 16, ui::kNoticeLabel},
    {kIdResultList, kIdTab, WC_LISTVIEWW,
     WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, WS_EX_CLIENTEDGE, 10, 77,
     640, 320, {}},
    {kIdSelectAll, kIdTab, WC_BUTTONW, kCheckBox, 0, 14, 399, 48, 16, ui::kSelectAll},
    {kIdProgress, kIdTab, PROGRESS_CLASSW, PBS_SMOOTH, 0, 76, 421, 376, 8, {}},
    {kIdStartScan, kIdTab, WC_BUTTONW, kButton, 0, 456, 404, 96, 25, ui::kStartScanInitial},
    {kIdClean, kIdTab, WC_BUTTONW, kButton | WS_DISABLED, 0, 554, 404, 96, 25, ui::kCleanButton},
    {kIdOptionsGroup, kIdTab, WC_BUTTONW, BS_GROUPBOX, 0, 10, 429, 640, 96, ui::kOptionsGroup},
    {kIdSizeOption, kIdOptionsGroup, WC_BUTTONW, kCheckBox, 0, 10, 16, 128, 16, ui::kSizeOption},
    {kIdDigestOption, kIdOptionsGroup, WC_BUTTONW, kCheckBox, 0, 146, 16, 488, 16, ui::kDigestOption},
    {kIdBackupOption, kIdOptionsGroup, WC_BUTTONW, kCheckBox, 0, 10, 34, 216, 16, ui::kBackupOption},
    {kIdBackupDirEdit, kIdOptionsGroup, WC_EDITW, kEdit, WS_EX_CLIENTEDGE, 226, 34, 360, 16, {}},
    {kIdChooseBackupDir, kIdOptionsGroup, WC_BUTTONW, kButton, 0, 591, 32, 40, 20, ui::kBrowseButton},
    {kIdFolderGroup, kIdOptionsGroup, WC_BUTTONW, BS_GROUPBOX, 0, 10, 53, 192, 36, ui::kFolderGroup},
    {kIdImagePacks, kIdFolderGroup, WC_BUTTONW, kRadio, 0, 8, 13, 88, 20, ui::kRadioImagePacks},
    {kIdSoundPacks, kIdFolderGroup, WC_BUTTONW, kRadio, 0, 104, 13, 80, 20, ui::kRadioSoundPacks},
    {kIdPicture, kIdOptionsGroup, WC_STATICW, SS_OWNERDRAW, 0, 210, 56, 421, 32, {}},
};

const Layout* LayoutOf(int id) {
  for (const Layout& layout : kLayout) {
    if (layout.id == id) return &layout;
  }
  return nullptr;
}

// The top-left corner of a control in the window's client area.
POINT PlaceInWindow(const Layout& layout) {
  POINT place{layout.x, layout.y};
  for (const Layout* parent = LayoutOf(layout.parent); parent; parent = LayoutOf(parent->parent)) {
    place.x += parent->x;
    place.y += parent->y;
  }
  return place;
}

// True when `id` lies inside the control `container`, directly or deeper.
bool IsInside(int id, int container) {
  for (const Layout* layout = LayoutOf(id); layout && layout->parent; layout = LayoutOf(layout->parent)) {
    if (layout->parent == container) return true;
  }
  return false;
}

int IdOf(Control control) {
  switch (control) {
    case Control::按钮_选择游戏目录: return kIdChooseGameDir;
    case Control::编辑框_游戏目录: return kIdGameDirEdit;
    case Control::选择框_全选: return kIdSelectAll;
    case Control::进度条_扫描: return kIdProgress;
    case Control::按钮_开始扫描: return kIdStartScan;
    case Control::按钮_清理文件: return kIdClean;
    case Control::分组框1: return kIdOptionsGroup;
    case Control::选择框_大小对比: return kIdSizeOption;
    case Control::选择框_哈希对比: return kIdDigestOption;
    case Control::选择框_备份到目录: return kIdBackupOption;
    case Control::编辑框_备份目录: return kIdBackupDirEdit;
    case Control::按钮_备份目录: return kIdChooseBackupDir;
    case Control::单选框_IP: return kIdImagePacks;
    case Control::单选框_SP: return kIdSoundPacks;
  }
  return 0;
}

struct FontHandle {
  HFONT font = nullptr;
  FontHandle() = default;
  explicit FontHandle(HFONT created) : font(created) {}
  ~FontHandle() {
    if (font) DeleteObject(font);
  }
  FontHandle(const FontHandle&) = delete;
  FontHandle& operator=(const FontHandle&) = delete;
};

HFONT MakeFont(int height, int weight, BYTE charset, const wchar_t* face) {
  return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

bool RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(instance, kMainWindowClass, &windowClass)) return true;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kMainWindowClass;
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

struct MainWindow::Fonts {
  // The dialog face with the Chinese character set: SimSun on a Chinese
  // system. With no face at all, the system may pick a Chinese font without
  // Latin letters (Wine does), and "Orvane" and "Package.lst" show as boxes.
  FontHandle notice{MakeFont(12, FW_BOLD, GB2312_CHARSET, L"MS Shell Dlg")};
  FontHandle banner{MakeFont(20, FW_BOLD, DEFAULT_CHARSET, L"Tahoma")};
  FontHandle bannerSmall{MakeFont(12, FW_NORMAL, DEFAULT_CHARSET, L"Tahoma")};
};

MainWindow::MainWindow() : wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

MainWindow::~MainWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (wake_) CloseHandle(wake_);
}

bool MainWindow::Create(HINSTANCE instance, Tool& tool, int show) {
  tool_ = &tool;
  fonts_ = std::make_unique<Fonts>();
  if (!RegisterWindowClass(instance, &MainWindow::WindowProcedure)) return false;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kOuterWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kOuterHeight) / 2;
  const HWND created = CreateWindowExW(0, kMainWindowClass, WideFromUtf8(ui::kWindowTitle).c_str(),
                                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                                       kOuterWidth, kOuterHeight, nullptr, nullptr, instance, this);
  if (!created || failed_) return false;
  ShowWindow(hwnd_, show);
  UpdateWindow(hwnd_);
  return true;
}

LRESULT CALLBACK MainWindow::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  // No exception may leave into the system: a failed handler ends the
  // program on its fatal path.
  try {
    return self->OnMessage(message, wParam, lParam);
  } catch (...) {
    // While being created the window is not destroyed from inside: its
    // creation fails instead.
    self->Fail(message != WM_CREATE);
    return message == WM_CREATE ? -1 : 0;
  }
}

void MainWindow::Fail(bool destroy) {
  failed_ = true;
  closing_ = true;
  if (destroy && hwnd_ && !closed_) DestroyWindow(hwnd_);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) OnClick(LOWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnStaticColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlID != static_cast<UINT>(kIdPicture)) break;
      OnDrawPicture(item);
      return TRUE;
    }
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        MoveWindow(Item(kIdStatusBar), 0, HIWORD(lParam) - kStatusHeight, LOWORD(lParam), kStatusHeight, TRUE);
      }
      return 0;
    case WM_CLOSE:
      closing_ = true;
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      closing_ = true;
      closed_ = true;
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool MainWindow::OnCreate() {
  const HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  for (const Layout& layout : kLayout) {
    const POINT place = PlaceInWindow(layout);
    // Every control but the second radio button opens a group, so that the
    // arrow keys move only between the two radio buttons.
    const DWORD group = layout.id == kIdSoundPacks ? 0 : WS_GROUP;
    const HWND control = CreateWindowExW(
        layout.extendedStyle, layout.windowClass, WideFromUtf8(layout.caption).c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | group | layout.style, place.x, place.y, layout.width,
        layout.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    if (!control) return false;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
  }
  if (!fonts_->notice.font) return false;
  SendMessageW(Item(kIdNoticeLabel), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->notice.font), FALSE);

  TCITEMW page{};
  page.mask = TCIF_TEXT;
  std::wstring pageText = WideFromUtf8(ui::kTabPage);
  page.pszText = pageText.data();
  if (SendMessageW(Item(kIdTab), TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&page)) != 0) return false;

  // The controls lie on the tab page and in the group boxes as siblings.
  // A plain face covers the page, in the colour that the labels and boxes
  // on it use whatever visual style the tab control has; it, the tab
  // control and the group boxes go to the bottom, so that the controls
  // drawn on them stay on top.
  RECT face{};
  GetWindowRect(Item(kIdTab), &face);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&face), 2);
  SendMessageW(Item(kIdTab), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&face));
  if (!CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP, face.left, face.top,
                       face.right - face.left, face.bottom - face.top, hwnd_,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdTabPage)), instance, nullptr)) {
    return false;
  }
  for (int id : {kIdFolderGroup, kIdOptionsGroup, kIdTabPage, kIdTab}) {
    SetWindowPos(Item(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  RECT client{};
  GetClientRect(hwnd_, &client);
  const HWND status = Item(kIdStatusBar);
  MoveWindow(status, 0, client.bottom - kStatusHeight, client.right, kStatusHeight, FALSE);
  int panels[] = {kStatusFirstPanelRight, -1};
  SendMessageW(status, SB_SETPARTS, std::size(panels), reinterpret_cast<LPARAM>(panels));
  SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(WideFromUtf8(ui::kStatusGreeting).c_str()));
  SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(WideFromUtf8(ui::kStatusVersion).c_str()));

  const HWND list = Item(kIdResultList);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const std::array<std::pair<UiText, int>, 3> columns = {
      {{ui::kColumnName, 420}, {ui::kColumnFolder, 100}, {ui::kColumnVerdict, 100}}};
  for (int index = 0; index < static_cast<int>(columns.size()); ++index) {
    std::wstring title = WideFromUtf8(columns[index].first);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = columns[index].second;
    column.pszText = title.data();
    if (SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) != index) return false;
  }

  SendMessageW(Item(kIdProgress), PBM_SETRANGE32, 0, progress_maximum_);
  SendMessageW(Item(kIdProgress), PBM_SETPOS, 0, 0);
  SendMessageW(Item(kIdImagePacks), BM_SETCHECK, BST_CHECKED, 0);
  focus_ = Item(kIdChooseGameDir);
  return true;
}

void MainWindow::OnClick(int id) {
  Tool& tool = *tool_;
  switch (id) {
    case kIdChooseGameDir: ChooseGameDirectory(tool); break;
    case kIdChooseBackupDir: ChooseBackupDirectory(tool); break;
    case kIdSizeOption: OnSizeOptionClicked(tool); break;
    case kIdDigestOption: OnDigestOptionClicked(tool); break;
    case kIdStartScan: StartScan(tool); break;
    case kIdClean: CleanSelectedFiles(tool); break;
    case kIdSelectAll: TickAllRows(tool); break;
    default: return;
  }
  ShowEverythingHeld();
}

LRESULT MainWindow::OnStaticColour(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id == kIdNoticeLabel) {
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  if (id == kIdGameDirEdit || id == kIdBackupDirEdit) {
    // Read-only edit boxes keep black on white.
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
  }
  return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void MainWindow::OnDrawPicture(const DRAWITEMSTRUCT& item) {
  // A banner: a gradient from deep blue to teal with the tool's name.
  const RECT area = item.rcItem;
  const int width = area.right - area.left;
  for (int x = 0; x < width; ++x) {
    const int r = 16 + (24 - 16) * x / width;
    const int g = 40 + (150 - 40) * x / width;
    const int b = 100 + (180 - 100) * x / width;
    const HBRUSH brush = CreateSolidBrush(RGB(r, g, b));
    const RECT column{area.left + x, area.top, area.left + x + 1, area.bottom};
    FillRect(item.hDC, &column, brush);
    DeleteObject(brush);
  }
  SetBkMode(item.hDC, TRANSPARENT);
  const HGDIOBJ before = SelectObject(item.hDC, fonts_->banner.font);
  SetTextColor(item.hDC, RGB(255, 255, 255));
  RECT title = area;
  title.left += 12;
  DrawTextW(item.hDC, L"Orvane Cleaner", -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(item.hDC, fonts_->bannerSmall.font);
  SetTextColor(item.hDC, RGB(200, 235, 245));
  RECT packs = area;
  packs.right -= 12;
  DrawTextW(item.hDC, L"ImagePacks2 \u00b7 SoundPacks", -1, &packs,
            DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(item.hDC, before);
}

void MainWindow::OnActivate(bool active) {
  if (!active) {
    const HWND focused = GetFocus();
    if (focused && IsChild(hwnd_, focused)) focus_ = focused;
    return;
  }
  if (focus_ && IsWindow(focus_) && IsWindowEnabled(focus_)) {
    SetFocus(focus_);
  } else {
    KeepFocusUsable();
  }
}

void MainWindow::KeepFocusUsable() {
  const HWND focused = GetFocus();
  if (focused && IsChild(hwnd_, focused) && IsWindowEnabled(focused)) return;
  const HWND next = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  SetFocus(next ? next : hwnd_);
}

bool MainWindow::TakeDialogMessage(MSG& message) { return hwnd_ && IsDialogMessageW(hwnd_, &message); }

HWND MainWindow::Item(Control control) const { return hwnd_ ? GetDlgItem(hwnd_, IdOf(control)) : nullptr; }

void MainWindow::ShowMessage(UiText text, UiText title, MessageIcon icon) {
  // Once the window is gone the program is ending: nothing more to say.
  if (closing_) return;
  ShowEverythingHeld();
  const HWND active = GetActiveWindow();
  MessageBoxW(nullptr, WideFromUtf8(text).c_str(), WideFromUtf8(title).c_str(),
              MB_OK | MB_TASKMODAL | static_cast<UINT>(icon));
  // The box has no owner: give the activation back to where it was.
  if (active && IsWindow(active) && GetActiveWindow() != active) SetActiveWindow(active);
}

bool MainWindow::IsTicked(Control control) {
  return SendMessageW(Item(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetTicked(Control control, bool ticked) {
  const int id = IdOf(control);
  if (ticked && (id == kIdImagePacks || id == kIdSoundPacks)) {
    CheckRadioButton(hwnd_, kIdImagePacks, kIdSoundPacks, id);
    return;
  }
  SendMessageW(Item(control), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainWindow::IsEnabled(Control control) { return IsWindowEnabled(Item(control)) != FALSE; }

void MainWindow::SetEnabled(Control control, bool enabled) {
  if (!hwnd_) return;
  const int id = IdOf(control);
  EnableWindow(Item(id), enabled);
  for (const Layout& layout : kLayout) {
    if (IsInside(layout.id, id)) EnableWindow(Item(layout.id), enabled);
  }
  if (!enabled) KeepFocusUsable();
}

void MainWindow::SetCaption(Control control, UiText caption) {
  SetWindowTextW(Item(control), WideFromUtf8(caption).c_str());
}

void MainWindow::SetEditText(Control control, const Text& text) {
  SetWindowTextW(Item(control), WideFromAnsi(text).c_str());
}

void MainWindow::SetProgressMaximum(int maximum) {
  progress_maximum_ = maximum;
  SendMessageW(Item(kIdProgress), PBM_SETRANGE32, 0, maximum);
  progress_shown_ = -1;
  ShowProgress();
}

void MainWindow::SetProgressPosition(int position) {
  progress_position_ = position;
  if (position <= 0 || position >= progress_maximum_ || Clock::now() - progress_shown_at_ >= kProgressInterval) {
    ShowProgress();
  }
}

void MainWindow::ShowProgress() {
  if (progress_shown_ == progress_position_) return;
  SendMessageW(Item(kIdProgress), PBM_SETPOS, progress_position_, 0);
  progress_shown_ = progress_position_;
  progress_shown_at_ = Clock::now();
}

int MainWindow::RowCount() {
  return static_cast<int>(SendMessageW(Item(kIdResultList), LVM_GETITEMCOUNT, 0, 0));
}

void MainWindow::AppendRow(const Text& name, const Text& folder, UiText verdict) {
  const HWND list = Item(kIdResultList);
  if (!list) return;
  HoldListRedraw();
  std::wstring cells[] = {WideFromAnsi(name), WideFromAnsi(folder), WideFromUtf8(verdict)};
  LVITEMW row{};
  row.mask = LVIF_TEXT;
  row.iItem = RowCount();
  row.pszText = cells[0].data();
  const int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
  if (index < 0) return;
  for (int column = 1; column < 3; ++column) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = cells[column].data();
    SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
  }
}

void MainWindow::RemoveRow(int index) {
  HoldListRedraw();
  SendMessageW(Item(kIdResultList), LVM_DELETEITEM, index, 0);
}

void MainWindow::RemoveAllRows() {
  HoldListRedraw();
  SendMessageW(Item(kIdResultList), LVM_DELETEALLITEMS, 0, 0);
}

int MainWindow::RowTick(int index) {
  const auto state = SendMessageW(Item(kIdResultList), LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0;
}

void MainWindow::SetRowTick(int index, int tick) {
  HoldListRedraw();
  LVITEMW state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(tick == 1 ? 2 : 1);
  SendMessageW(Item(kIdResultList), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
}

Text MainWindow::BrowseForFolder(UiText prompt) {
  if (closing_) return {};
  ShowEverythingHeld();
  return ::BrowseForFolder(prompt);
}

void MainWindow::HoldListRedraw() {
  if (list_held_ || !hwnd_) return;
  SendMessageW(Item(kIdResultList), WM_SETREDRAW, FALSE, 0);
  list_held_ = true;
  list_held_since_ = Clock::now();
}

void MainWindow::ShowHeldRows() {
  if (!list_held_) return;
  list_held_ = false;
  const HWND list = Item(kIdResultList);
  if (!list) return;
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
}

void MainWindow::ShowEverythingHeld() {
  ShowHeldRows();
  ShowProgress();
}

bool MainWindow::ProcessPendingMessages() {
  if (closing_) return false;
  const Clock::time_point now = Clock::now();
  if (list_held_ && now - list_held_since_ >= kRowBatchInterval) ShowHeldRows();
  if (now - progress_shown_at_ >= kProgressInterval) ShowProgress();
  MSG message;
  while (!closing_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The event loop below this handler must still see it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (!TakeDialogMessage(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return !closing_;
}

void MainWindow::WaitForMessageOrWake(std::chrono::milliseconds timeout) {
  const DWORD milliseconds = static_cast<DWORD>(std::max<std::chrono::milliseconds::rep>(0, timeout.count()));
  // Input already in the queue also ends the wait.
  MsgWaitForMultipleObjectsEx(wake_ ? 1 : 0, wake_ ? &wake_ : nullptr, milliseconds, QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

void MainWindow::Wake() {
  if (wake_) SetEvent(wake_);
}
