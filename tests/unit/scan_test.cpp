// The scan: classification of every file of a pack folder, the skip entries,
// the control states and the closing message.

#include "scan/scan.h"

#include <gtest/gtest.h>

#include <map>

#include "scan/file_digest.h"
#include "tool_fixture.h"

namespace {

const Text IP = "ImagePacks2";
const Text SP = "SoundPacks";
using Verdicts = std::map<Text, std::u8string>;

Verdicts RowsOf(const FakeView& view) {
  Verdicts rows;
  for (const auto& row : view.rows) rows[row.name] = row.verdict;
  return rows;
}

const std::u8string kUnlisted(ui::kVerdictUnlisted);
const std::u8string kSize(ui::kVerdictSize);
const std::u8string kDigest(ui::kVerdictDigest);

class ScanTest : public ::testing::Test, public ToolFixture {};

// One folder holding every kind of file, scanned with each option.
TEST_F(ScanTest, ClassifiesEveryFileByOptionWithPrecedence) {
  Official(IP, "official.NPK", "official content");
  OnDisk(IP, "unlisted.NPK", "patch");
  Listed(IP, "bigger.NPK", 10, "0123456789");
  OnDisk(IP, "bigger.NPK", "0123456789AB");
  Listed(IP, "samesize.NPK", 10, "0123456789");
  OnDisk(IP, "samesize.NPK", "abcdefghij");
  Listed(IP, "case.NPK", 4, "case");
  OnDisk(IP, "case.npk", "case");
  Official(IP, "dup.NPK", "first decides");
  Listed(IP, "dup.NPK", 1, "x");
  Listed(IP, "dup2.NPK", 1, "x");
  Official(IP, "dup2.NPK", "first decides");
  Official(IP, "locked.NPK", "cannot be read");
  fs.SetAttributes(PathOf(IP, "locked.NPK"), {.locked = true});
  OnDisk(IP, ".hidden", "h", {.hidden = true});
  fs.AddFolder(PathOf(IP, "subfolder"));
  Official(IP, "vanishes.NPK", "gone before its turn");
  Official(IP, "huge.NPK", "");
  fs.AddFileWithLength(PathOf(IP, "huge.NPK"), std::int64_t{1} << 32);  // 4 GiB: the low 32 bits are 0
  Official(IP, "last.NPK", "last");
  WriteListAndChooseRoot();
  view.onPump = [&] {
    fs.Remove(PathOf(IP, "vanishes.NPK"));
    return true;
  };

  struct Case {
    bool size, digest;
    Verdicts expected;
  } cases[] = {
      {false, false, {{"unlisted.NPK", kUnlisted}, {"case.npk", kUnlisted}, {".hidden", kUnlisted}}},
      {true, false,
       {{"unlisted.NPK", kUnlisted}, {"case.npk", kUnlisted}, {".hidden", kUnlisted}, {"bigger.NPK", kSize},
        {"dup2.NPK", kSize}, {"vanishes.NPK", kSize}}},
      {false, true,
       {{"unlisted.NPK", kUnlisted}, {"case.npk", kUnlisted}, {".hidden", kUnlisted}, {"bigger.NPK", kDigest},
        {"samesize.NPK", kDigest}, {"dup2.NPK", kDigest}, {"locked.NPK", kDigest}, {"vanishes.NPK", kDigest}}},
      // Both on (the window never allows it): size first, no digest for a wrong size.
      {true, true,
       {{"unlisted.NPK", kUnlisted}, {"case.npk", kUnlisted}, {".hidden", kUnlisted}, {"bigger.NPK", kSize},
        {"samesize.NPK", kDigest}, {"dup2.NPK", kSize}, {"locked.NPK", kDigest}, {"vanishes.NPK", kSize}}},
  };
  for (const Case& c : cases) {
    Official(IP, "vanishes.NPK", "gone before its turn");
    view.messages.clear();
    Scan(IP, c.size, c.digest);
    EXPECT_EQ(RowsOf(view), c.expected) << "size " << c.size << " digest " << c.digest;
    for (const auto& row : view.rows) {
      EXPECT_EQ(row.folder, IP);
      EXPECT_EQ(row.tick, 0);
    }
  }
}

TEST_F(ScanTest, RowsFollowTheListingOrderAndEndWithTheCount) {
  Official(IP, "a.NPK", "a");
  OnDisk(IP, "b.NPK", "b");
  OnDisk(IP, "c.NPK", "c");
  OnDisk(IP, "d.NPK", "d");
  WriteListAndChooseRoot();
  Scan(IP);
  EXPECT_EQ(view.RowNames(), (std::vector<Text>{"b.NPK", "c.NPK", "d.NPK"}));
  ASSERT_EQ(view.messages.size(), 1u);
  const auto& message = view.messages[0];
  EXPECT_EQ(message.text, u8"发现 3 个补丁文件..请需要清理的文件!");
  EXPECT_EQ(message.title, ui::kTitleNotice);
  EXPECT_EQ(message.icon, MessageIcon::Warning);
  // The progress counts files and is full when the message shows, while the
  // controls are still in the scanning state.
  EXPECT_EQ(message.progressMaximum, 4);
  EXPECT_EQ(message.progressPosition, 4);
  EXPECT_FALSE(message.startEnabled);
  EXPECT_FALSE(message.groupEnabled);

  // A second scan first removes every row of the first, ticked or not.
  view.rows[0].tick = 1;
  fs.Remove(PathOf(IP, "b.NPK"));
  fs.Remove(PathOf(IP, "c.NPK"));
  fs.Remove(PathOf(IP, "d.NPK"));
  Scan(IP);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.LastText(), ui::kNothingFound);
  EXPECT_EQ(view.messages.back().icon, MessageIcon::Information);
  EXPECT_EQ(view.messages.back().progressPosition, 1);
}

TEST_F(ScanTest, ControlsAreDisabledDuringTheScanAndIdleAfter) {
  Official(IP, "a.NPK", "a");
  OnDisk(IP, "b.NPK", "b");
  WriteListAndChooseRoot();
  bool checked = false;
  view.onPump = [&] {
    checked = true;
    EXPECT_FALSE(view.enabled[Control::分组框1]);
    EXPECT_FALSE(view.enabled[Control::按钮_开始扫描]);
    EXPECT_FALSE(view.enabled[Control::按钮_清理文件]);
    EXPECT_FALSE(view.enabled[Control::按钮_选择游戏目录]);
    EXPECT_TRUE(view.enabled[Control::选择框_全选]);
    EXPECT_EQ(view.captions[Control::按钮_开始扫描], ui::kStartScanBusy);
    return true;
  };
  Scan(IP);
  EXPECT_TRUE(checked);
  for (Control c : {Control::分组框1, Control::按钮_开始扫描, Control::按钮_清理文件, Control::按钮_选择游戏目录}) {
    EXPECT_TRUE(view.enabled[c]);
  }
  EXPECT_EQ(view.captions[Control::按钮_开始扫描], ui::kStartScanIdle);
  EXPECT_FALSE(state->scanRunning);
}

TEST_F(ScanTest, FolderWithoutRecordOrWithoutRootEndsWithTheWarning) {
  Official(IP, "a.NPK", "a");
  WriteListAndChooseRoot();
  struct Case {
    const char* what;
    std::function<void()> arrange;
  } cases[] = {
      {"no record of SoundPacks", [] {}},
      {"never chosen", [&] { state->catalogue.Clear(); state->gameDirectory.clear(); }},
      // The root was chosen, then the chooser was cancelled: the index stays.
      {"choice cancelled", [&] { WriteListAndChooseRoot(); state->gameDirectory.clear(); }},
  };
  for (const Case& c : cases) {
    c.arrange();
    view.messages.clear();
    view.progressPosition = 7;
    const int lists = fs.Calls(MemoryFileSystem::Op::List);
    Scan(std::string(c.what) == "no record of SoundPacks" ? SP : IP);
    ASSERT_EQ(view.messages.size(), 1u) << c.what;
    EXPECT_EQ(view.messages[0].text, ui::kNoRecordForFolder) << c.what;
    EXPECT_EQ(view.messages[0].title, ui::kTitleWarning);
    EXPECT_EQ(view.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(view.progressPosition, 0);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(fs.Calls(MemoryFileSystem::Op::List), lists) << c.what;  // nothing listed
    EXPECT_TRUE(view.enabled[Control::按钮_开始扫描]);
    EXPECT_TRUE(view.enabled[Control::分组框1]);
    EXPECT_EQ(view.captions[Control::按钮_开始扫描], ui::kStartScanIdle);
  }
}

TEST_F(ScanTest, ListThatCannotBeReadAtScanTimeIsReportedNotUsed) {
  Official(IP, "a.NPK", "a");
  Official(IP, "b.NPK", "b");
  WriteListAndChooseRoot();
  const Text list = JoinPath(kRoot, "package.lst");
  const std::string bytes = fs.Content(list);
  const std::function<void()> breakers[] = {
      [&] { fs.Remove(list); },
      [&] { fs.AddFile(list, bytes.substr(0, bytes.size() - 20)); },  // ends inside the record
      [&] { fs.AddFile(list, bytes, {.locked = true}); },
  };
  for (const auto& breakList : breakers) {
    breakList();
    view.messages.clear();
    Scan(IP);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, ui::kLstUnreadable);
    EXPECT_EQ(view.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(state->catalogue.EntryTable().empty());
    EXPECT_TRUE(view.enabled[Control::按钮_开始扫描]);
  }
}

TEST_F(ScanTest, SkipNamesPassAsTheyAreUnlessTheRecordNamesThem) {
  Official(IP, "a.NPK", "a");
  Listed(IP, "modified.NPK", 3, "old");
  OnDisk(IP, "modified.NPK", "new!");
  Listed(IP, "lastmod.NPK", 3, "old");  // the record's last entry
  OnDisk(IP, "lastmod.NPK", "new!");
  OnDisk(IP, "kept.NPK", "my patch");
  OnDisk(IP, "other.NPK", "patch");
  Official(SP, "s.NPK", "s");
  OnDisk(SP, "kept.NPK", "sound patch");
  WriteListAndChooseRoot();
  WriteSkipList(
      "[ImagePacks2]\r\nkept.NPK=1\r\nmodified.NPK=1\r\nlastmod.NPK=1\r\nmissing.NPK=1\r\n..\\..\\Tool\\x=1\r\n"
      "[SoundPacks]\r\nother.NPK=1\r\n");
  fs.AddFile(JoinPath(kProgram, "x"), "outside");

  for (bool size : {false, true}) {
    Scan(IP, size, !size);
    const std::u8string modified = size ? kSize : kDigest;
    EXPECT_EQ(RowsOf(view), (Verdicts{{"modified.NPK", modified}, {"lastmod.NPK", modified}, {"other.NPK", kUnlisted}}));
  }
  // The skip entries follow the loaded ones, with the files' current sizes
  // and digests; a name without a file gets -1 and the empty content's digest.
  const auto& table = state->catalogue.EntryTable();
  ASSERT_EQ(table.size(), 8u);
  EXPECT_EQ(table[3].name, "kept.NPK");
  EXPECT_EQ(table[3].size, 8);
  EXPECT_EQ(table[3].digest, FileDigest("my patch", kSha256));
  EXPECT_EQ(table[6].name, "missing.NPK");
  EXPECT_EQ(table[6].size, -1);
  EXPECT_EQ(table[6].digest, FileDigest("", kSha256));
  EXPECT_TRUE(fs.HasFile(JoinPath(kProgram, "x")));

  // The SoundPacks scan uses its own section only.
  Scan(SP);
  EXPECT_EQ(RowsOf(view), (Verdicts{{"kept.NPK", kUnlisted}}));
  EXPECT_EQ(state->skipList, (std::vector<Text>{"other.NPK"}));
}

TEST_F(ScanTest, SkipNamesAlsoPassWhenTheRecordIsEmpty) {
  Record(IP);
  OnDisk(IP, "kept.NPK", "mine");
  OnDisk(IP, "other.NPK", "patch");
  WriteListAndChooseRoot();
  WriteSkipList("[ImagePacks2]\r\nkept.NPK=\r\n");
  Scan(IP);
  EXPECT_EQ(RowsOf(view), (Verdicts{{"other.NPK", kUnlisted}}));
}

TEST_F(ScanTest, MissingPackFolderFindsNothing) {
  Record(IP);
  WriteListAndChooseRoot();
  Scan(IP);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.LastText(), ui::kNothingFound);
}

TEST_F(ScanTest, ClosingTheWindowStopsTheScanWithoutAMessage) {
  for (int i = 0; i < 20; ++i) OnDisk(IP, "p" + std::to_string(10 + i) + ".NPK", "patch");
  Record(IP);
  WriteListAndChooseRoot();
  int pumps = 0;
  view.onPump = [&] { return ++pumps < 5; };
  Scan(IP);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_LT(view.rows.size(), 20u);
  EXPECT_TRUE(state->windowClosing);
  EXPECT_FALSE(state->scanRunning);
  EXPECT_EQ(pumps, 5);  // nothing pumped after the window said it was closing
}

TEST_F(ScanTest, ClosingWhileDigestingStopsAtOnce) {
  Official(IP, "big.NPK", std::string(3 << 20, 'b'));
  OnDisk(IP, "z.NPK", "patch");
  WriteListAndChooseRoot();
  view.onPump = [] { return false; };
  Scan(IP, false, true);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(view.rows.empty());
}

}  // namespace
