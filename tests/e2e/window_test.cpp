// The window as it starts, and the controls that act on each other without
// touching any file.

#include <windows.h>
#include <commctrl.h>

#include "tool_test.h"
#include "win32/control_ids.h"

namespace {

using WindowTest = ToolTest;

TEST_F(WindowTest, StartsWithEveryControlInItsPlaceAndInitialState) {
  auto app = Launch();
  ASSERT_TRUE(app->Started());
  const HWND window = app->Window();

  EXPECT_EQ(TextOf(window), L"Orvane清理工具 V0.1 [By.Tosk]");
  const Place outer = OuterPlace(window);
  EXPECT_EQ(outer.width, 675);
  EXPECT_EQ(outer.height, 586);
  EXPECT_EQ(outer.x, (GetSystemMetrics(SM_CXSCREEN) - 675) / 2);
  EXPECT_EQ(outer.y, (GetSystemMetrics(SM_CYSCREEN) - 586) / 2);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE((style & WS_MINIMIZEBOX) && (style & WS_SYSMENU) && (style & WS_CAPTION));
  EXPECT_FALSE(style & (WS_MAXIMIZEBOX | WS_THICKFRAME));

  // Caption, place (relative to the parent: the window's client area, the
  // tab control's or a group box's corner), enabled state and tick.
  struct Expected {
    int id;
    int parent;  // 0: the window
    const wchar_t* caption;  // nullptr: not read (no caption)
    Place place;
    bool enabled;
    bool ticked;
  };
  const Expected controls[] = {
      {kIdTab, 0, nullptr, {4, 3, 661, 533}, true, false},
      {kIdGameDirLabel, kIdTab, L"游戏目录:", {12, 29, 56, 16}, true, false},
      {kIdGameDirEdit, kIdTab, L"", {71, 27, 512, 20}, true, false},
      {kIdChooseGameDir, kIdTab, L"选择目录", {588, 26, 64, 24}, true, false},
      {kIdNoticeLabel, kIdTab, L"注意!..选择的目录必须为Orvane的游戏根目录(即Package.lst所在目录!)", {12, 53, 640, 16},
       true, false},
      {kIdResultList, kIdTab, nullptr, {10, 77, 640, 320}, true, false},
      {kIdSelectAll, kIdTab, L"全选", {14, 399, 48, 16}, true, false},
      {kIdProgress, kIdTab, nullptr, {76, 421, 376, 8}, true, false},
      {kIdStartScan, kIdTab, L"开始扫描!", {456, 404, 96, 25}, true, false},
      {kIdClean, kIdTab, L"清理所选文件!", {554, 404, 96, 25}, false, false},
      {kIdOptionsGroup, kIdTab, L"扫描选项", {10, 429, 640, 96}, true, false},
      {kIdSizeOption, kIdOptionsGroup, L"对文件进行大小对比", {10, 16, 128, 16}, true, false},
      {kIdDigestOption, kIdOptionsGroup,
       L"对文件进行哈希对比(此选项能保证NPK文件必为官方文件!!但会让扫描速度大幅度减慢!)", {146, 16, 488, 16}, true,
       false},
      {kIdBackupOption, kIdOptionsGroup, L"清理的文件不删除而是备份到文件夹", {10, 34, 216, 16}, true, false},
      {kIdBackupDirEdit, kIdOptionsGroup, L"", {226, 34, 360, 16}, true, false},
      {kIdChooseBackupDir, kIdOptionsGroup, L"浏览", {591, 32, 40, 20}, true, false},
      {kIdFolderGroup, kIdOptionsGroup, L"需要扫描的目录", {10, 53, 192, 36}, true, false},
      {kIdImagePacks, kIdFolderGroup, L"ImagePacks2", {8, 13, 88, 20}, true, true},
      {kIdSoundPacks, kIdFolderGroup, L"SoundPacks", {104, 13, 80, 20}, true, false},
      {kIdPicture, kIdOptionsGroup, nullptr, {210, 56, 421, 32}, true, false},
  };
  for (const Expected& control : controls) {
    SCOPED_TRACE(control.id);
    const HWND handle = app->Control(control.id);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(IsWindowVisible(handle));
    if (control.caption) {
      EXPECT_EQ(TextOf(handle), control.caption);
    }
    EXPECT_EQ(PlaceIn(handle, control.parent ? app->Control(control.parent) : window), control.place);
    EXPECT_EQ(IsEnabled(handle), control.enabled);
    EXPECT_EQ(IsTicked(handle), control.ticked);
  }
  // The status bar keeps to the bottom edge of the client area: at
  // (0, 544), 669 x 20 with Windows' usual frame, a few pixels higher under
  // Wine, whose title bar is taller.
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(PlaceIn(app->Control(kIdStatusBar), window), (Place{0, client.bottom - 20, client.right, 20}));
  EXPECT_EQ(client.right, 669);
  for (int edit : {kIdGameDirEdit, kIdBackupDirEdit}) {
    EXPECT_TRUE(GetWindowLongW(app->Control(edit), GWL_STYLE) & ES_READONLY) << edit;
  }

  EXPECT_EQ(app->TabCount(), 1);
  EXPECT_EQ(app->TabTitle(0), L"补丁清理");
  EXPECT_EQ(app->RowCount(), 0);
  const std::pair<const wchar_t*, int> columns[] = {{L"文件名", 420}, {L"所在目录", 100}, {L"检测结果", 100}};
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(app->ColumnTitle(column), columns[column].first);
    EXPECT_EQ(app->ColumnWidth(column), columns[column].second);
  }
  EXPECT_EQ(app->ColumnTitle(3), L"");  // no fourth column
  const DWORD listStyle = static_cast<DWORD>(
      SendMessageW(app->Control(kIdResultList), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(listStyle & (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT), DWORD{LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT});
  EXPECT_EQ(app->ProgressMinimum(), 0);
  EXPECT_EQ(app->ProgressMaximum(), 100);
  EXPECT_EQ(app->ProgressPosition(), 0);
  EXPECT_EQ(app->StatusPanelEdges(), (std::vector<int>{550, -1}));
  EXPECT_NE(app->StatusText(0), L"");
  EXPECT_EQ(app->StatusText(1), L"VerDate.[2013.3.3]");
  EXPECT_EQ(app->FindMessageBox(), nullptr);
}

TEST_F(WindowTest, ComparisonOptionsUntickEachOtherAndThePackFolderIsOneOfTwo) {
  auto app = Launch();
  ASSERT_TRUE(app->Started());
  const HWND size = app->Control(kIdSizeOption);
  const HWND digest = app->Control(kIdDigestOption);
  // Each press, then the ticks of both boxes that it leaves.
  const struct {
    HWND pressed;
    bool sizeTicked, digestTicked;
  } steps[] = {
      {size, true, false},  {digest, false, true}, {size, true, false},
      {size, false, false}, {digest, false, true}, {digest, false, false},
  };
  for (const auto& step : steps) {
    PressAndWait(step.pressed);
    EXPECT_EQ(IsTicked(size), step.sizeTicked);
    EXPECT_EQ(IsTicked(digest), step.digestTicked);
  }

  for (int chosen : {kIdSoundPacks, kIdImagePacks}) {
    PressAndWait(app->Control(chosen));
    EXPECT_EQ(IsTicked(app->Control(kIdSoundPacks)), chosen == kIdSoundPacks);
    EXPECT_EQ(IsTicked(app->Control(kIdImagePacks)), chosen == kIdImagePacks);
  }
}

}  // namespace
