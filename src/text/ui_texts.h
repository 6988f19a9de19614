#pragma once
// Every text that the tool itself shows: captions, titles, messages and
// verdicts, as UTF-8 literals. The window converts them to UTF-16; names of
// files and folders are never kept here (they are ANSI Text).

#include <string>
#include <string_view>

using UiText = std::u8string_view;

namespace ui {

// Window and controls.
inline constexpr UiText kWindowTitle = u8"Orvane清理工具 V0.1 [By.Tosk]";
inline constexpr UiText kTabPage = u8"补丁清理";
inline constexpr UiText kGameDirLabel = u8"游戏目录:";
inline constexpr UiText kChooseDirButton = u8"选择目录";
inline constexpr UiText kNoticeLabel = u8"注意!..选择的目录必须为Orvane的游戏根目录(即Package.lst所在目录!)";
inline constexpr UiText kColumnName = u8"文件名";
inline constexpr UiText kColumnFolder = u8"所在目录";
inline constexpr UiText kColumnVerdict = u8"检测结果";
inline constexpr UiText kSelectAll = u8"全选";
inline constexpr UiText kStartScanInitial = u8"开始扫描!";
inline constexpr UiText kStartScanIdle = u8"开始扫描";
inline constexpr UiText kStartScanBusy = u8"扫描中..!";
inline constexpr UiText kCleanButton = u8"清理所选文件!";
inline constexpr UiText kOptionsGroup = u8"扫描选项";
inline constexpr UiText kSizeOption = u8"对文件进行大小对比";
inline constexpr UiText kDigestOption =
    u8"对文件进行哈希对比(此选项能保证NPK文件必为官方文件!!但会让扫描速度大幅度减慢!)";
inline constexpr UiText kBackupOption = u8"清理的文件不删除而是备份到文件夹";
inline constexpr UiText kBrowseButton = u8"浏览";
inline constexpr UiText kFolderGroup = u8"需要扫描的目录";
inline constexpr UiText kRadioImagePacks = u8"ImagePacks2";
inline constexpr UiText kRadioSoundPacks = u8"SoundPacks";
inline constexpr UiText kStatusGreeting = u8"欢迎使用Orvane清理工具! 选择游戏目录后即可开始扫描.";
inline constexpr UiText kStatusVersion = u8"VerDate.[2013.3.3]";

// Folder browser prompts.
inline constexpr UiText kPromptGameDir = u8"请选择Orvane根目录(存放[package.lst]的目录)";
inline constexpr UiText kPromptBackupDir = u8"请选择保存清理出补丁的位置..";

// Message box titles.
inline constexpr UiText kTitleWarning = u8"警告!";
inline constexpr UiText kTitleNotice = u8"提示";
inline constexpr UiText kTitleDone = u8"恭喜!";

// Messages.
inline constexpr UiText kChooseFolderFirst = u8"请选择目录后再试!";
inline constexpr UiText kLstMissing = u8"LST文件不存在..请重新再选!!";
inline constexpr UiText kLstNotAList = u8"LST文件非Orvane的文件列表文件..请重新选择!!";
inline constexpr UiText kLstUnreadable =
    u8"LST文件读取失败(文件已不存在或已损坏)..请重新选择游戏目录后再试!!";
inline constexpr UiText kNoRecordForFolder = u8"此LST文件不存在此目录!!";
inline constexpr UiText kNothingFound = u8"没发现补丁文件..无需清理!";
inline constexpr UiText kFoundPrefix = u8"发现 ";
inline constexpr UiText kFoundSuffix = u8" 个补丁文件..请需要清理的文件!";
inline constexpr UiText kNothingTicked = u8"请选择需要清理的补丁再试!";
inline constexpr UiText kCleanDone = u8"清理完毕!";
// "共 T 个文件中有 F 个未能清理(可能被占用或只读), 已保留在列表中!"
inline constexpr UiText kCleanFailedTotal = u8"共 ";
inline constexpr UiText kCleanFailedOf = u8" 个文件中有 ";
inline constexpr UiText kCleanFailedSuffix = u8" 个未能清理(可能被占用或只读), 已保留在列表中!";
inline constexpr UiText kFatalError = u8"程序发生严重错误(内存不足或窗口无法创建), 即将退出!";

// Verdict texts of the result list.
inline constexpr UiText kVerdictUnlisted = u8"非官方文件";
inline constexpr UiText kVerdictSize = u8"文件大小错误";
inline constexpr UiText kVerdictDigest = u8"哈希校验码错误";

}  // namespace ui
