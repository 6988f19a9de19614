// Cleanup of the ticked rows (delete or move into the backup folder) and
// Select all.

#include "cleanup/cleanup.h"

#include <gtest/gtest.h>

#include "tool_fixture.h"

namespace {

const Text IP = "ImagePacks2";
const Text SP = "SoundPacks";
const Text kBackup = "C:\\Backup";

class CleanupTest : public ::testing::Test, public ToolFixture {
 protected:
  // Six unlisted files f0..f5 in ImagePacks2, scanned into six rows.
  void ScanSixRows() {
    Record(IP);
    Record(SP);
    for (int i = 0; i < 6; ++i) OnDisk(IP, Name(i), "patch " + std::to_string(i));
    WriteListAndChooseRoot();
    Scan(IP);
    ASSERT_EQ(view.rows.size(), 6u);
    view.messages.clear();
  }
  static Text Name(int i) { return "f" + std::to_string(i) + ".NPK"; }
  void Tick(std::initializer_list<int> rows) {
    for (int row : rows) view.rows[static_cast<std::size_t>(row)].tick = 1;
  }
  void ChooseBackup() {
    fs.AddFolder(kBackup);
    state->backupDirectory = kBackup;
    view.ticked[Control::选择框_备份到目录] = true;
  }
  void ExpectMessage(UiText text, UiText title, MessageIcon icon) {
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, text);
    EXPECT_EQ(view.messages[0].title, title);
    EXPECT_EQ(view.messages[0].icon, icon);
  }
};

TEST_F(CleanupTest, GuardsTouchNothing) {
  CleanSelectedFiles(tool);
  ExpectMessage(ui::kNothingFound, ui::kTitleNotice, MessageIcon::Information);

  ScanSixRows();
  view.rows[2].tick = 2;  // only 1 counts as ticked
  CleanSelectedFiles(tool);
  ExpectMessage(ui::kNothingTicked, ui::kTitleNotice, MessageIcon::Information);
  EXPECT_TRUE(fs.Journal().empty());
  EXPECT_EQ(view.rows.size(), 6u);
}

TEST_F(CleanupTest, DeletesTickedFilesInOrderAndKeepsTheOtherRows) {
  ScanSixRows();
  Tick({1, 3, 4});
  view.rows[2].tick = 2;
  CleanSelectedFiles(tool);
  EXPECT_EQ(fs.Journal(), (std::vector<Text>{"delete " + PathOf(IP, Name(1)), "delete " + PathOf(IP, Name(3)),
                                             "delete " + PathOf(IP, Name(4))}));
  EXPECT_EQ(view.RowNames(), (std::vector<Text>{Name(0), Name(2), Name(5)}));
  EXPECT_EQ(view.rows[1].tick, 2);
  for (int i : {1, 3, 4}) EXPECT_FALSE(fs.HasFile(PathOf(IP, Name(i))));
  for (int i : {0, 2, 5}) EXPECT_TRUE(fs.HasFile(PathOf(IP, Name(i))));
  ExpectMessage(ui::kCleanDone, ui::kTitleDone, MessageIcon::Information);
  EXPECT_EQ(results.Count(), 3);
}

TEST_F(CleanupTest, BackupModeMovesIntoTheFlatFolderReplacingSameNames) {
  Record(IP);
  Record(SP);
  OnDisk(IP, "same.NPK", "from ImagePacks2");
  OnDisk(IP, "a.NPK", "a");
  OnDisk(SP, "same.NPK", "from SoundPacks");
  WriteListAndChooseRoot();
  ChooseBackup();
  fs.AddFile(JoinPath(kBackup, "a.NPK"), "an older backup");

  Scan(IP);
  Tick({0, 1});
  view.messages.clear();
  CleanSelectedFiles(tool);
  ExpectMessage(ui::kCleanDone, ui::kTitleDone, MessageIcon::Information);
  EXPECT_EQ(fs.Content(JoinPath(kBackup, "a.NPK")), "a");
  EXPECT_EQ(fs.Content(JoinPath(kBackup, "same.NPK")), "from ImagePacks2");

  Scan(SP);
  Tick({0});
  CleanSelectedFiles(tool);
  EXPECT_EQ(fs.Content(JoinPath(kBackup, "same.NPK")), "from SoundPacks");
  EXPECT_TRUE(fs.PathsUnder(JoinPath(kRoot, IP)).empty());
  EXPECT_TRUE(fs.PathsUnder(JoinPath(kRoot, SP)).empty());
  EXPECT_TRUE(view.rows.empty());
}

TEST_F(CleanupTest, FilesThatCannotBeCleanedKeepTheirTickedRows) {
  ScanSixRows();
  Tick({0, 1, 3, 4});
  fs.SetAttributes(PathOf(IP, Name(1)), {.readOnly = true});
  fs.SetAttributes(PathOf(IP, Name(3)), {.locked = true});
  fs.Remove(PathOf(IP, Name(4)));  // vanished since the scan: handled
  CleanSelectedFiles(tool);
  EXPECT_EQ(view.RowNames(), (std::vector<Text>{Name(1), Name(2), Name(3), Name(5)}));
  EXPECT_EQ(view.rows[0].tick, 1);
  EXPECT_EQ(view.rows[2].tick, 1);
  EXPECT_TRUE(fs.HasFile(PathOf(IP, Name(1))));
  EXPECT_TRUE(fs.HasFile(PathOf(IP, Name(3))));
  ExpectMessage(u8"共 4 个文件中有 2 个未能清理(可能被占用或只读), 已保留在列表中!", ui::kTitleWarning,
                MessageIcon::Warning);
}

TEST_F(CleanupTest, BackupFailuresNeverLoseAFile) {
  ScanSixRows();
  ChooseBackup();
  Tick({0, 1, 2});
  // f0: the rename fails, the copy succeeds, the source cannot be deleted.
  fs.Fail(MemoryFileSystem::Op::Rename, PathOf(IP, Name(0)));
  fs.SetAttributes(PathOf(IP, Name(0)), {.readOnly = true});
  // f1: neither the move nor the copy works.
  fs.Fail(MemoryFileSystem::Op::Rename, PathOf(IP, Name(1)));
  fs.Fail(MemoryFileSystem::Op::Copy, PathOf(IP, Name(1)));
  CleanSelectedFiles(tool);
  EXPECT_EQ(view.RowNames(), (std::vector<Text>{Name(0), Name(1), Name(3), Name(4), Name(5)}));
  EXPECT_EQ(fs.Content(PathOf(IP, Name(0))), "patch 0");
  EXPECT_EQ(fs.Content(JoinPath(kBackup, Name(0))), "patch 0");
  EXPECT_TRUE(fs.HasFile(PathOf(IP, Name(1))));
  EXPECT_FALSE(fs.HasFile(PathOf(IP, Name(2))));
  EXPECT_EQ(fs.Content(JoinPath(kBackup, Name(2))), "patch 2");
  EXPECT_EQ(view.messages.back().title, ui::kTitleWarning);

  // The backup folder removed after it was chosen: nothing moves, nothing is lost.
  fs.ClearFailures();
  fs.Remove(JoinPath(kBackup, Name(0)));
  fs.Remove(JoinPath(kBackup, Name(2)));
  fs.Remove(kBackup);
  for (auto& row : view.rows) row.tick = 1;
  CleanSelectedFiles(tool);
  EXPECT_EQ(view.rows.size(), 5u);
  for (int i : {0, 1, 3, 4, 5}) EXPECT_TRUE(fs.HasFile(PathOf(IP, Name(i))));
}

TEST_F(CleanupTest, BackupModeWithoutFolderIsRefusedBeforeAnythingIsTouched) {
  ScanSixRows();
  Tick({0, 1});
  view.ticked[Control::选择框_备份到目录] = true;
  CleanSelectedFiles(tool);
  ExpectMessage(ui::kChooseFolderFirst, ui::kTitleWarning, MessageIcon::Error);
  EXPECT_TRUE(fs.Journal().empty());
  EXPECT_EQ(view.rows.size(), 6u);
}

TEST_F(CleanupTest, ActsOnlyOnTheScannedRootAfterAnotherChoice) {
  ScanSixRows();
  const Text other = "C:\\Other";
  for (int i = 0; i < 6; ++i) fs.AddFile(JoinPath(JoinPath(other, IP), Name(i)), "not scanned");
  for (const Text& chosen : {other, Text()}) {  // another root, then a cancelled choice
    state->gameDirectory = chosen;
    view.rows[0].tick = 1;
    view.messages.clear();
    CleanSelectedFiles(tool);
    ExpectMessage(ui::kCleanDone, ui::kTitleDone, MessageIcon::Information);
  }
  EXPECT_FALSE(fs.HasFile(PathOf(IP, Name(0))));
  EXPECT_FALSE(fs.HasFile(PathOf(IP, Name(1))));
  EXPECT_EQ(fs.PathsUnder(JoinPath(other, IP)).size(), 6u);
}

TEST_F(CleanupTest, PathsThatAreNoLongerPlainFilesAreLeftAlone) {
  ScanSixRows();
  const Text outside = "C:\\Elsewhere\\precious.dat";
  fs.AddFile(outside, "precious");
  fs.Remove(PathOf(IP, Name(0)));
  fs.AddLink(PathOf(IP, Name(0)), outside);
  fs.Remove(PathOf(IP, Name(1)));
  fs.AddFolder(PathOf(IP, Name(1)));
  Tick({0, 1});
  for (bool backup : {false, true}) {
    if (backup) ChooseBackup();
    view.messages.clear();
    CleanSelectedFiles(tool);
    EXPECT_EQ(fs.Content(outside), "precious");
    EXPECT_TRUE(fs.HasFolder(PathOf(IP, Name(1))));
    EXPECT_EQ(view.rows.size(), 6u);
    EXPECT_EQ(view.messages.back().title, ui::kTitleWarning);
  }
  EXPECT_TRUE(fs.Journal().empty());
}

TEST_F(CleanupTest, SelectAllTicksAndUnticksEveryRow) {
  view.ticked[Control::选择框_全选] = true;  // clicked over an empty list
  TickAllRows(tool);
  EXPECT_FALSE(view.ticked[Control::选择框_全选]);

  ScanSixRows();
  view.rows[2].tick = 1;
  view.ticked[Control::选择框_全选] = true;
  TickAllRows(tool);
  for (const auto& row : view.rows) EXPECT_EQ(row.tick, 1);
  view.ticked[Control::选择框_全选] = false;
  TickAllRows(tool);
  for (const auto& row : view.rows) EXPECT_EQ(row.tick, 0);

  // Ticked, then everything cleaned: the box keeps its tick, and the rows of
  // a later scan come unticked.
  view.ticked[Control::选择框_全选] = true;
  TickAllRows(tool);
  CleanSelectedFiles(tool);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_TRUE(view.ticked[Control::选择框_全选]);
  OnDisk(IP, "new.NPK", "new");
  Scan(IP);
  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.rows[0].tick, 0);
}

}  // namespace
