#include "tool_test.h"

#include <windows.h>

#include "win32/control_ids.h"

namespace {

constexpr char kFixturesRoot[] = "C:\\orvane_e2e";

}  // namespace

E2eSettings& Settings() {
  static E2eSettings settings;
  return settings;
}

void ToolTest::SetUp() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = JoinPath(kFixturesRoot, std::string(test->test_suite_name()) + "." + test->name());
  ASSERT_TRUE(RemoveTree(folder_)) << folder_;
  ASSERT_TRUE(MakeFolders(ProgramFolder())) << ProgramFolder();
  ASSERT_TRUE(CopyFileW(Settings().exe.c_str(), Wide(JoinPath(ProgramFolder(), "OrvaneCleaner.exe")).c_str(), FALSE))
      << "cannot copy " << Utf8(Settings().exe);
}

void ToolTest::TearDown() {
  // Fixtures stay when a test failed, for a person to look at.
  if (!HasFailure()) RemoveTree(folder_);
}

void ToolTest::WriteSkipList(const std::string& bytes) const {
  ASSERT_TRUE(WriteBytes(JoinPath(ProgramFolder(), "Skip_Npk.ini"), bytes));
}

std::unique_ptr<ToolProcess> ToolTest::Launch() const {
  auto app = std::make_unique<ToolProcess>(Wide(JoinPath(ProgramFolder(), "OrvaneCleaner.exe")), Wide(folder_));
  EXPECT_TRUE(app->Started()) << "the tool's window did not come up";
  return app;
}

void ToolTest::ChooseGameRoot(const ToolProcess& app, const Text& root) const {
  Press(app.Control(kIdChooseGameDir));
  ASSERT_TRUE(app.ChooseFolder(Wide(root), expected::kPromptGameRoot));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(app.Control(kIdGameDirEdit)) == Wide(root); }))
      << Utf8(TextOf(app.Control(kIdGameDirEdit)));
  // A message of the list's reader would have come before the edit box changed.
  ASSERT_EQ(app.FindMessageBox(), nullptr);
}

SeenMessage ToolTest::Scan(const ToolProcess& app) const { return PressForMessage(app, kIdStartScan); }

SeenMessage ToolTest::PressForMessage(const ToolProcess& app, int id) const {
  Press(app.Control(id));
  const auto message = app.CloseMessageBox(60s);
  EXPECT_TRUE(message) << "no message box after pressing control " << id;
  return message.value_or(SeenMessage{});
}

void ToolTest::SetOption(const ToolProcess& app, int id, bool ticked) const {
  const HWND box = app.Control(id);
  if (IsTicked(box) != ticked) PressAndWait(box);
  ASSERT_EQ(IsTicked(box), ticked) << "control " << id;
}
