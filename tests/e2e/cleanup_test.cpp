// Cleanups through the window: the guards, delete mode on ticked rows, Select
// all, and backup mode into a folder chosen in the browser; the files on
// disk are checked afterwards.

#include <algorithm>

#include "tool_test.h"
#include "win32/control_ids.h"

namespace {

using CleanupTest = ToolTest;

const SeenMessage kCleaned{L"清理完毕!", expected::kDone, expected::kInformation};
const SeenMessage kNothingToClean{expected::kNothingFound, expected::kNotice, expected::kInformation};

int RowOf(const ToolProcess& app, const std::wstring& name) {
  const std::vector<SeenRow> rows = app.Rows();
  const auto found = std::find_if(rows.begin(), rows.end(), [&](const SeenRow& row) { return row.name == name; });
  return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

std::vector<std::wstring> NamesOf(const std::vector<SeenRow>& rows) {
  std::vector<std::wstring> names;
  for (const SeenRow& row : rows) names.push_back(row.name);
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(CleanupTest, DeletesTheFilesOfTickedRowsOnly) {
  GameRoot root(Folder("game"));
  root.Official("ImagePacks2", "sprite_ok.NPK", "official")
      .Unofficial("ImagePacks2", "a.NPK", "a")
      .Unofficial("ImagePacks2", "b.NPK", "b")
      .Unofficial("ImagePacks2", "c.NPK", "c")
      .Unofficial("ImagePacks2", "d.NPK", "d");
  ASSERT_TRUE(root.Write());
  auto app = Launch();
  ASSERT_TRUE(app->Started());
  const HWND selectAll = app->Control(kIdSelectAll);

  // Nothing to clean yet: the button is off, and Select all will not stay
  // ticked over an empty list.
  EXPECT_FALSE(IsEnabled(app->Control(kIdClean)));
  PressAndWait(selectAll);
  EXPECT_FALSE(IsTicked(selectAll));

  ChooseGameRoot(*app, root.Path());
  EXPECT_EQ(Scan(*app), (SeenMessage{expected::Found(4), expected::kNotice, expected::kExclamation}));
  ASSERT_EQ(NamesOf(app->Rows()), (std::vector<std::wstring>{L"a.NPK", L"b.NPK", L"c.NPK", L"d.NPK"}));
  EXPECT_EQ(PressForMessage(*app, kIdClean),
            (SeenMessage{L"请选择需要清理的补丁再试!", expected::kNotice, expected::kInformation}));
  EXPECT_EQ(app->RowCount(), 4);

  for (const wchar_t* name : {L"b.NPK", L"d.NPK"}) {
    const int row = RowOf(*app, name);
    ASSERT_GE(row, 0);
    ASSERT_TRUE(app->SetRowTick(row, true));
    EXPECT_EQ(app->RowTick(row), 1);
  }
  EXPECT_EQ(PressForMessage(*app, kIdClean), kCleaned);
  EXPECT_EQ(NamesOf(app->Rows()), (std::vector<std::wstring>{L"a.NPK", L"c.NPK"}));
  for (int row = 0; row < app->RowCount(); ++row) EXPECT_EQ(app->RowTick(row), 0);
  for (const char* gone : {"b.NPK", "d.NPK"}) EXPECT_FALSE(IsFile(root.PathOf("ImagePacks2", gone))) << gone;
  for (const char* kept : {"a.NPK", "c.NPK", "sprite_ok.NPK"}) {
    EXPECT_TRUE(IsFile(root.PathOf("ImagePacks2", kept))) << kept;
  }
  EXPECT_TRUE(IsFile(JoinPath(root.Path(), "package.lst")));

  // Select all ticks every row, and the next cleanup takes them all.
  for (bool ticked : {true, false, true}) {
    PressAndWait(selectAll);
    EXPECT_EQ(IsTicked(selectAll), ticked);
    EXPECT_EQ(app->RowTick(0), ticked ? 1 : 0);
    EXPECT_EQ(app->RowTick(1), ticked ? 1 : 0);
  }
  EXPECT_EQ(PressForMessage(*app, kIdClean), kCleaned);
  EXPECT_EQ(app->RowCount(), 0);
  for (const char* gone : {"a.NPK", "c.NPK"}) EXPECT_FALSE(IsFile(root.PathOf("ImagePacks2", gone))) << gone;
  EXPECT_EQ(ReadBytes(root.PathOf("ImagePacks2", "sprite_ok.NPK")), "official");
  EXPECT_EQ(PressForMessage(*app, kIdClean), kNothingToClean);
}

TEST_F(CleanupTest, MovesTheFilesIntoTheChosenBackupFolderReplacingOlderCopies) {
  GameRoot root(Folder("game"));
  root.Official("ImagePacks2", "sprite_ok.NPK", "official")
      .Unofficial("ImagePacks2", "x.NPK", "new x")
      .Unofficial("ImagePacks2", "y.NPK", "y");
  ASSERT_TRUE(root.Write());
  const Text backup = Folder("backup");
  ASSERT_TRUE(MakeFolders(backup));
  ASSERT_TRUE(WriteBytes(JoinPath(backup, "x.NPK"), "old x"));
  auto app = Launch();
  ASSERT_TRUE(app->Started());
  ChooseGameRoot(*app, root.Path());
  EXPECT_EQ(Scan(*app), (SeenMessage{expected::Found(2), expected::kNotice, expected::kExclamation}));

  Press(app->Control(kIdChooseBackupDir));
  ASSERT_TRUE(app->ChooseFolder(Wide(backup), expected::kPromptBackup));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(app->Control(kIdBackupDirEdit)) == Wide(backup); }));
  EXPECT_TRUE(IsTicked(app->Control(kIdBackupOption)));
  EXPECT_EQ(app->FindMessageBox(), nullptr);

  PressAndWait(app->Control(kIdSelectAll));
  EXPECT_EQ(app->RowTick(0), 1);
  EXPECT_EQ(app->RowTick(1), 1);
  EXPECT_EQ(PressForMessage(*app, kIdClean), kCleaned);
  EXPECT_EQ(app->RowCount(), 0);
  EXPECT_EQ(ReadBytes(JoinPath(backup, "x.NPK")), "new x");
  EXPECT_EQ(ReadBytes(JoinPath(backup, "y.NPK")), "y");
  for (const char* moved : {"x.NPK", "y.NPK"}) EXPECT_FALSE(IsFile(root.PathOf("ImagePacks2", moved))) << moved;
  EXPECT_TRUE(IsFile(root.PathOf("ImagePacks2", "sprite_ok.NPK")));
  EXPECT_FALSE(IsFile(JoinPath(backup, "sprite_ok.NPK")));

  // Cancelling the backup chooser warns and keeps what the window shows.
  Press(app->Control(kIdChooseBackupDir));
  ASSERT_TRUE(app->CancelFolderBrowser(expected::kPromptBackup));
  EXPECT_EQ(app->CloseMessageBox(), (SeenMessage{L"请选择目录后再试!", expected::kWarning, expected::kStop}));
  EXPECT_EQ(TextOf(app->Control(kIdBackupDirEdit)), Wide(backup));
  EXPECT_TRUE(IsTicked(app->Control(kIdBackupOption)));
}

}  // namespace
