#pragma once
// Child-window ids of the main window's controls, for GetDlgItem here and in
// programs that drive the window from outside. None is IDOK (1) or IDCANCEL
// (2): IsDialogMessage sends those for Enter and Escape.

enum ControlId : int {
  kIdTab = 100,          // 选择夹1
  kIdStatusBar,          // 状态条1
  kIdGameDirLabel,       // 标签1
  kIdGameDirEdit,        // 编辑框_游戏目录
  kIdChooseGameDir,      // 按钮_选择游戏目录
  kIdNoticeLabel,        // 标签2
  kIdResultList,         // 超级列表框_扫描结果
  kIdSelectAll,          // 选择框_全选
  kIdProgress,           // 进度条_扫描
  kIdStartScan,          // 按钮_开始扫描
  kIdClean,              // 按钮_清理文件
  kIdOptionsGroup,       // 分组框1
  kIdSizeOption,         // 选择框_大小对比
  kIdDigestOption,       // 选择框_哈希对比
  kIdBackupOption,       // 选择框_备份到目录
  kIdBackupDirEdit,      // 编辑框_备份目录
  kIdChooseBackupDir,    // 按钮_备份目录
  kIdFolderGroup,        // 分组框2
  kIdImagePacks,         // 单选框_IP
  kIdSoundPacks,         // 单选框_SP
  kIdPicture,            // 图片框1
  kIdTabPage,            // the plain face of the tab page, under its controls
};

// The window class of the main window.
inline constexpr wchar_t kMainWindowClass[] = L"OrvaneCleanerMainWindow";
