// Choosing the game root through the real folder browser: a valid list, no
// list, a file that is not a list, a drive root, and cancelling.

#include "tool_test.h"
#include "win32/control_ids.h"

namespace {

using GameRootTest = ToolTest;

TEST_F(GameRootTest, ReportsMissingAndForeignListsAndCancelsBeforeTheEditBoxChanges) {
  GameRoot valid(Folder("valid"));
  valid.Official("ImagePacks2", "sprite_ok.NPK", ContentOf("ok", 300)).Unofficial("ImagePacks2", "patch.NPK", "p");
  ASSERT_TRUE(valid.Write());
  GameRoot noList(Folder("no_list"));
  noList.Unofficial("ImagePacks2", "patch.NPK", "p");
  ASSERT_TRUE(noList.WriteWithoutList());
  GameRoot badMagic(Folder("bad_magic"));
  badMagic.Official("ImagePacks2", "sprite_ok.NPK", "ok");
  ASSERT_TRUE(badMagic.Write());
  const Text badList = JoinPath(badMagic.Path(), "package.lst");
  std::string bytes = ReadBytes(badList).value_or("");
  ASSERT_GT(bytes.size(), 35u);
  bytes[32] = 'X';  // the magic "LST\0" at offset 32
  ASSERT_TRUE(WriteBytes(badList, bytes));

  auto app = Launch();
  ASSERT_TRUE(app->Started());
  const HWND edit = app->Control(kIdGameDirEdit);
  const SeenMessage chooseFirst{L"请选择目录后再试!", expected::kWarning, expected::kStop};

  // Cancelled before anything was chosen.
  Press(app->Control(kIdChooseGameDir));
  ASSERT_TRUE(app->CancelFolderBrowser(expected::kPromptGameRoot));
  EXPECT_EQ(app->CloseMessageBox(), chooseFirst);
  EXPECT_EQ(TextOf(edit), L"");

  // Folders whose list cannot be used: the reader's message comes first,
  // then the edit box shows the folder all the same.
  const struct {
    Text root;
    const wchar_t* message;
  } refused[] = {
      {noList.Path(), L"LST文件不存在..请重新再选!!"},
      {badMagic.Path(), L"LST文件非Orvane的文件列表文件..请重新选择!!"},
      {"C:\\", L"LST文件不存在..请重新再选!!"},  // a drive root keeps its "\"
  };
  std::wstring shown = L"";
  for (const auto& choice : refused) {
    SCOPED_TRACE(choice.root);
    Press(app->Control(kIdChooseGameDir));
    ASSERT_TRUE(app->ChooseFolder(Wide(choice.root), expected::kPromptGameRoot));
    ASSERT_TRUE(WaitUntil([&] { return app->FindMessageBox() != nullptr; }));
    EXPECT_EQ(TextOf(edit), shown);
    EXPECT_EQ(app->CloseMessageBox(), (SeenMessage{choice.message, expected::kWarning, expected::kStop}));
    shown = Wide(choice.root);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(edit) == shown; })) << Utf8(TextOf(edit));
  }

  // A valid list: no message, and a scan finds the one unofficial file.
  ChooseGameRoot(*app, valid.Path());
  EXPECT_EQ(Scan(*app), (SeenMessage{expected::Found(1), expected::kNotice, expected::kExclamation}));
  EXPECT_EQ(app->Rows(), (std::vector<SeenRow>{{L"patch.NPK", L"ImagePacks2", expected::kUnlisted}}));

  // Cancelling now empties the game root but keeps the edit box's text; a
  // scan then has no folder to look at and empties the list.
  Press(app->Control(kIdChooseGameDir));
  ASSERT_TRUE(app->CancelFolderBrowser(expected::kPromptGameRoot));
  EXPECT_EQ(app->CloseMessageBox(), chooseFirst);
  EXPECT_EQ(TextOf(edit), Wide(valid.Path()));
  EXPECT_EQ(Scan(*app), (SeenMessage{L"此LST文件不存在此目录!!", expected::kWarning, expected::kStop}));
  EXPECT_EQ(app->RowCount(), 0);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(app->Control(kIdStartScan)) == expected::kStartIdle; }));
  EXPECT_TRUE(IsEnabled(app->Control(kIdClean)));
}

}  // namespace
