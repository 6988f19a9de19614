// Regression cases found by the fuzz targets and the fault tests on real
// files, kept here on the in-memory file system.

#include <gtest/gtest.h>

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

}  // namespace
