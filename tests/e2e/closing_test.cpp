// A long digest scan: the controls it holds while it runs, and closing the
// window in its middle, which must end the program by itself, with exit
// code 0 and no message box.

#include "tool_test.h"
#include "win32/control_ids.h"

namespace {

using ClosingTest = ToolTest;

// Several gigabytes through the digest, from one file's room on disk.
constexpr int kCopies = 400;
constexpr std::size_t kCopyBytes = 16u << 20;

TEST_F(ClosingTest, ClosingTheWindowDuringAScanEndsTheProgramQuietly) {
  GameRoot root(Folder("game"));
  root.OfficialCopies("ImagePacks2", "sprite_", kCopies, ContentOf("big", kCopyBytes))
      .Unofficial("ImagePacks2", "patch.NPK", "p");
  ASSERT_TRUE(root.Write());
  auto app = Launch();
  ASSERT_TRUE(app->Started());
  ChooseGameRoot(*app, root.Path());
  SetOption(*app, kIdDigestOption, true);

  Press(app->Control(kIdStartScan));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(app->Control(kIdStartScan)) == expected::kStartBusy; }));
  ASSERT_EQ(app->FindMessageBox(), nullptr) << "the scan ended before it could be watched";
  for (int held : {kIdStartScan, kIdClean, kIdChooseGameDir, kIdOptionsGroup, kIdDigestOption, kIdBackupOption,
                   kIdChooseBackupDir, kIdImagePacks, kIdSoundPacks}) {
    EXPECT_FALSE(IsEnabled(app->Control(held))) << held;
  }
  EXPECT_TRUE(IsEnabled(app->Control(kIdSelectAll)));
  EXPECT_LT(app->ProgressPosition(), app->ProgressMaximum());
  if (!Settings().output.empty()) {
    EXPECT_TRUE(SaveScreenshot(app->Window(), Settings().output + L"\\e2e-during-scan.png"));
  }
  ASSERT_EQ(app->FindMessageBox(), nullptr) << "the scan ended before the window could be closed";

  PostMessageW(app->Window(), WM_CLOSE, 0, 0);
  bool messageShown = false;
  ASSERT_TRUE(WaitUntil(
      [&] {
        messageShown = messageShown || app->FindMessageBox() != nullptr;
        return !app->Running();
      },
      60s))
      << "the program did not end after its window was closed";
  EXPECT_FALSE(messageShown);
  EXPECT_EQ(app->WaitForExit(0ms), DWORD{0});
}

}  // namespace
