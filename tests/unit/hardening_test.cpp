// Regression cases found by the fuzz targets and the fault tests on real
// files, kept here on the in-memory file system.

#include <gtest/gtest.h>

#include <algorithm>

#include "cleanup/cleanup.h"
#include "tool_fixture.h"

namespace {

const Text IP = "ImagePacks2";

class HardeningTest : public ::testing::Test, public ToolFixture {};

// A listed name that reaches no file (under Wine: a name the code page
// cannot hold, listed with "?"; a FIFO, whose attributes cannot be read) is
// neither cleaned nor gone: its row stays ticked and the user is warned.
TEST_F(HardeningTest, AListedNameThatReachesNoFileKeepsItsRow) {
  Record(IP);
  OnDisk(IP, "?.NPK", "unreachable");
  OnDisk(IP, "patch.NPK", "patch");
  WriteListAndChooseRoot();
  Scan(IP);
  ASSERT_EQ(view.rows.size(), 2u);
  fs.Fail(MemoryFileSystem::Op::Exists, PathOf(IP, "?.NPK"));
  fs.Fail(MemoryFileSystem::Op::IsPlainFile, PathOf(IP, "?.NPK"));
  for (auto& row : view.rows) row.tick = 1;
  view.messages.clear();
  CleanSelectedFiles(tool);
  EXPECT_EQ(view.RowNames(), std::vector<Text>{"?.NPK"});
  EXPECT_EQ(view.rows[0].tick, 1);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].title, ui::kTitleWarning);
  EXPECT_FALSE(fs.HasFile(PathOf(IP, "patch.NPK")));
  EXPECT_EQ(fs.Journal(), std::vector<Text>{"delete " + PathOf(IP, "patch.NPK")});
}

// A link in the backup folder named like a cleaned file: a replacing copy
// onto it would write the file into the link's target (under Wine, outside
// every folder the user chose). Such a name, and a folder, are left alone.
TEST_F(HardeningTest, OnlyAPlainFileInTheBackupFolderIsReplaced) {
  const Text backup = "C:\\Backup";
  const Text outside = "C:\\Elsewhere\\precious.dat";
  Record(IP);
  for (const char* name : {"link.NPK", "folder.NPK", "file.NPK"}) OnDisk(IP, name, std::string("patch ") + name);
  WriteListAndChooseRoot();
  fs.AddFile(outside, "precious");
  fs.AddLink(JoinPath(backup, "link.NPK"), outside);
  fs.AddFolder(JoinPath(backup, "folder.NPK"));
  fs.AddFile(JoinPath(backup, "file.NPK"), "an older backup");
  state->backupDirectory = backup;
  view.ticked[Control::选择框_备份到目录] = true;
  Scan(IP);
  for (auto& row : view.rows) row.tick = 1;
  CleanSelectedFiles(tool);
  std::vector<Text> kept = view.RowNames();
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(kept, (std::vector<Text>{"folder.NPK", "link.NPK"}));
  // The move of file.NPK, which replaces the older backup: a copy, then the
  // delete of the source.
  EXPECT_EQ(fs.Journal(), (std::vector<Text>{"move " + PathOf(IP, "file.NPK") + " > " + JoinPath(backup, "file.NPK"),
                                             "delete " + PathOf(IP, "file.NPK")}));
  EXPECT_EQ(fs.Content(outside), "precious");
  EXPECT_EQ(fs.Content(JoinPath(backup, "file.NPK")), "patch file.NPK");
  EXPECT_EQ(view.messages.back().title, ui::kTitleWarning);
}

}  // namespace
