#pragma once
// The base of every end-to-end test: a clean folder of its own under
// C:\orvane_e2e, a copy of the tool in its "program" subfolder (where the
// tool looks for Skip_Npk.ini), and a way to start it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game_root.h"
#include "window_driver.h"

// Set by main from the command line.
struct E2eSettings {
  std::wstring exe;      // the OrvaneCleaner.exe that the build made
  std::wstring output;   // where screenshots go (the build tree)
};
E2eSettings& Settings();

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A path under the test's own folder.
  Text Folder(const Text& relative) const { return JoinPath(folder_, relative); }
  Text ProgramFolder() const { return Folder("program"); }
  void WriteSkipList(const std::string& bytes) const;

  // Starts the copied tool (with another folder as its working folder) and
  // waits for its window.
  std::unique_ptr<ToolProcess> Launch() const;

  // Presses the game-root chooser and picks `root`; the pick is done when
  // the edit box shows it. Fails on any message box on the way.
  void ChooseGameRoot(const ToolProcess& app, const Text& root) const;
  // Presses Start and returns the closing message of the scan.
  SeenMessage Scan(const ToolProcess& app) const;
  // Presses a button or box and returns the message box that it brings.
  SeenMessage PressForMessage(const ToolProcess& app, int id) const;
  // Presses a check box and waits for its tick to become `ticked`.
  void SetOption(const ToolProcess& app, int id, bool ticked) const;

  Text folder_;
};

// The texts of the tool that the tests expect.
namespace expected {
inline constexpr wchar_t kWarning[] = L"警告!";
inline constexpr wchar_t kNotice[] = L"提示";
inline constexpr wchar_t kDone[] = L"恭喜!";
inline constexpr wchar_t kPromptGameRoot[] = L"请选择Orvane根目录(存放[package.lst]的目录)";
inline constexpr wchar_t kPromptBackup[] = L"请选择保存清理出补丁的位置..";
inline constexpr wchar_t kStartInitial[] = L"开始扫描!";
inline constexpr wchar_t kStartIdle[] = L"开始扫描";
inline constexpr wchar_t kStartBusy[] = L"扫描中..!";
inline constexpr wchar_t kUnlisted[] = L"非官方文件";
inline constexpr wchar_t kSizeMismatch[] = L"文件大小错误";
inline constexpr wchar_t kDigestMismatch[] = L"哈希校验码错误";
inline constexpr int kStop = 16;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;

inline std::wstring Found(int count) { return L"发现 " + std::to_wstring(count) + L" 个补丁文件..请需要清理的文件!"; }
inline const std::wstring kNothingFound = L"没发现补丁文件..无需清理!";
}  // namespace expected
