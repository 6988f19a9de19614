// The window's own handlers: the folder choosers and the option exclusion.

#include "shell/choosers.h"

#include <gtest/gtest.h>

#include "tool_fixture.h"

namespace {

class ChoosersTest : public ::testing::Test, public ToolFixture {
 protected:
  void SetUp() override {
    Official("ImagePacks2", "a.NPK", "a");
    Record("SoundPacks");
    WriteListAndChooseRoot();
    state->gameDirectory.clear();
    state->catalogue.Clear();
    view.messages.clear();
  }
};

TEST_F(ChoosersTest, ChoosingTheGameRootLoadsItsIndex) {
  view.folderAnswers = {kRoot};
  ChooseGameDirectory(tool);
  EXPECT_EQ(view.prompts.back(), ui::kPromptGameDir);
  EXPECT_EQ(state->gameDirectory, kRoot);
  EXPECT_EQ(view.editTexts[Control::编辑框_游戏目录], kRoot);
  EXPECT_EQ(state->catalogue.DirectoryIndex().size(), 2u);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(ChoosersTest, ListMessagesComeBeforeTheFolderIsShown) {
  fs.AddFolder("C:\\Empty");
  view.folderAnswers = {"C:\\Empty"};
  view.onMessage = [&](const FakeView::Message&) { EXPECT_EQ(view.editTexts.count(Control::编辑框_游戏目录), 0u); };
  ChooseGameDirectory(tool);
  EXPECT_EQ(view.LastText(), ui::kLstMissing);
  EXPECT_EQ(view.editTexts[Control::编辑框_游戏目录], "C:\\Empty");
  EXPECT_EQ(state->gameDirectory, "C:\\Empty");
}

TEST_F(ChoosersTest, CancellingEmptiesTheFolderButKeepsWhatIsShown) {
  view.folderAnswers = {kRoot, ""};
  ChooseGameDirectory(tool);
  ChooseGameDirectory(tool);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, ui::kChooseFolderFirst);
  EXPECT_EQ(view.messages[0].title, ui::kTitleWarning);
  EXPECT_EQ(view.messages[0].icon, MessageIcon::Error);
  EXPECT_TRUE(state->gameDirectory.empty());
  EXPECT_EQ(view.editTexts[Control::编辑框_游戏目录], kRoot);
  EXPECT_EQ(state->catalogue.DirectoryIndex().size(), 2u);
}

TEST_F(ChoosersTest, BackupChooserTicksTheBackupOption) {
  view.folderAnswers = {"C:\\", ""};
  ChooseBackupDirectory(tool);
  EXPECT_EQ(view.prompts.back(), ui::kPromptBackupDir);
  EXPECT_EQ(state->backupDirectory, "C:\\");  // a drive root keeps its separator
  EXPECT_EQ(view.editTexts[Control::编辑框_备份目录], "C:\\");
  EXPECT_TRUE(view.ticked[Control::选择框_备份到目录]);

  view.ticked[Control::选择框_备份到目录] = false;
  view.folderAnswers = {"C:\\Backup", ""};
  ChooseBackupDirectory(tool);
  EXPECT_TRUE(view.ticked[Control::选择框_备份到目录]);  // ticked again

  ChooseBackupDirectory(tool);  // cancelled
  EXPECT_EQ(view.LastText(), ui::kChooseFolderFirst);
  EXPECT_TRUE(state->backupDirectory.empty());
  EXPECT_EQ(view.editTexts[Control::编辑框_备份目录], "C:\\Backup");
  EXPECT_TRUE(view.ticked[Control::选择框_备份到目录]);
}

TEST_F(ChoosersTest, ComparisonOptionsUntickEachOther) {
  struct Case {
    bool size, digest;  // ticks after the click toggled the clicked box
    bool sizeClicked;
    bool sizeAfter, digestAfter;
  } cases[] = {
      {true, true, true, true, false},    // size ticked while digest was on
      {true, true, false, false, true},   // digest ticked while size was on
      {false, false, true, false, false}, // a ticked option clicked off
      {true, false, true, true, false},
  };
  for (const Case& c : cases) {
    view.ticked[Control::选择框_大小对比] = c.size;
    view.ticked[Control::选择框_哈希对比] = c.digest;
    c.sizeClicked ? OnSizeOptionClicked(tool) : OnDigestOptionClicked(tool);
    EXPECT_EQ(view.ticked[Control::选择框_大小对比], c.sizeAfter);
    EXPECT_EQ(view.ticked[Control::选择框_哈希对比], c.digestAfter);
  }
}

TEST(SharedStateTest, ReleasedOnceAndEmptyAtStart) {
  auto state = CreateSharedState();
  EXPECT_TRUE(state->gameDirectory.empty());
  EXPECT_TRUE(state->backupDirectory.empty());
  EXPECT_TRUE(state->catalogue.DirectoryIndex().empty());
  EXPECT_TRUE(state->skipList.empty());
  state->skipList.push_back("a");
  ReleaseSharedState(state);
  EXPECT_EQ(state, nullptr);
  ReleaseSharedState(state);  // a second request does nothing
}

}  // namespace
