// The scan and the cleanup, with the real handlers and Win32FileSystem, on
// real files under Wine: what other programs, the user and the file system
// can do to the files between and during the clicks, and names that plain
// Win32 paths would read as other files. Every case ends with nothing lost:
// the files the user did not choose, and those that could not be cleaned,
// are still there with their content, and the rows of the latter stay
// ticked.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cwchar>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cleanup/cleanup.h"
#include "fake_view.h"
#include "package_list_builder.h"
#include "real_disk.h"
#include "scan/scan.h"
#include "shell/choosers.h"
#include "tool_fixture.h"
#include "win32/scoped_handle.h"
#include "win32/win32_file_system.h"

namespace {

using Verdicts = std::map<Text, std::u8string>;
const std::u8string kUnlisted(ui::kVerdictUnlisted);
const std::u8string kDigest(ui::kVerdictDigest);

std::wstring WidenAscii(const Text& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

class FaultsOnDisk : public ::testing::Test {
 protected:
  FaultsOnDisk()
      : temp_(L"faults"),
        root_(JoinPath(temp_.Path(), "Game")),
        state_(CreateSharedState()),
        results_(view_),
        tool_{fs_, view_, *state_, results_, JoinPath(temp_.Path(), "Tool"), std::chrono::milliseconds(0)} {
    for (const wchar_t* folder : {L"Game", L"Game\\ImagePacks2", L"Tool", L"Outside"}) {
      EXPECT_TRUE(CreateDirectoryW(In(folder).c_str(), nullptr)) << folder;
    }
  }

  // The verbatim wide path of a place in the temporary folder.
  std::wstring In(const std::wstring& relative) const { return temp_.Wide() + L"\\" + relative; }
  std::wstring PackFolder() const { return In(L"Game\\ImagePacks2"); }
  std::wstring InPack(const std::wstring& name) const { return PackFolder() + L"\\" + name; }
  std::wstring InPack(const Text& asciiName) const { return InPack(WidenAscii(asciiName)); }
  std::wstring InBackup(const Text& asciiName) const { return In(L"Backup\\" + WidenAscii(asciiName)); }

  // A file of the pack folder, named `wide` on disk and `name` in the
  // code page; listed in the record with its size and digest when official.
  void Pack(const std::wstring& wide, const Text& name, const std::string& content, bool official,
            DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    ASSERT_TRUE(MakeWideFile(InPack(wide), content, attributes)) << name;
    if (official) Listed(name, content);
  }
  void Pack(const Text& asciiName, const std::string& content, bool official,
            DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    Pack(WidenAscii(asciiName), asciiName, content, official, attributes);
  }
  // A record entry with the size and digest of `content`.
  void Listed(const Text& name, const std::string& content) {
    entries_.push_back({name, static_cast<std::int32_t>(content.size()), Sha256Bytes(content)});
  }
  std::string ListBytes() const { return PackageListBuilder::File({{"ImagePacks2", entries_}}); }

  void WriteListAndChooseRoot() {
    const std::wstring list = In(L"Game\\package.lst");
    DeleteFileW(list.c_str());
    ASSERT_TRUE(MakeWideFile(list, ListBytes()));
    view_.folderAnswers = {root_};
    view_.messages.clear();
    ChooseGameDirectory(tool_);
    ASSERT_TRUE(view_.messages.empty()) << "the list was refused";
  }
  void WriteSkipList(const std::string& bytes) {
    ASSERT_TRUE(MakeWideFile(In(L"Tool\\Skip_Npk.ini"), bytes));
    toolFiles_ = {"Skip_Npk.ini"};
  }

  // Whatever happened, nothing was written beside the program or into the
  // game root.
  void TearDown() override {
    if (IsSkipped()) return;
    std::vector<Text> files;
    fs_.ListFiles(tool_.programFolder, &files);
    EXPECT_EQ(files, toolFiles_) << "beside the program";
    fs_.ListFiles(root_, &files);
    EXPECT_EQ(files, std::vector<Text>{"package.lst"}) << "in the game root";
  }

  // A digest scan of ImagePacks2: its rows, after checking that it ended
  // with exactly one message.
  Verdicts Scan() {
    view_.ticked[Control::单选框_IP] = true;
    view_.ticked[Control::选择框_哈希对比] = true;
    view_.messages.clear();
    StartScan(tool_);
    EXPECT_EQ(view_.messages.size(), 1u);
    Verdicts rows;
    for (const auto& row : view_.rows) rows[row.name] = row.verdict;
    return rows;
  }

  void ChooseBackup() {
    CreateDirectoryW(In(L"Backup").c_str(), nullptr);
    view_.folderAnswers = {JoinPath(temp_.Path(), "Backup")};
    ChooseBackupDirectory(tool_);
  }
  // Select all, then Clean: the title of the closing message.
  std::u8string TickAllAndClean() {
    view_.ticked[Control::选择框_全选] = true;
    TickAllRows(tool_);
    view_.messages.clear();
    CleanSelectedFiles(tool_);
    EXPECT_EQ(view_.messages.size(), 1u);
    return view_.messages.empty() ? std::u8string() : view_.messages.back().title;
  }
  // Every row still there is ticked.
  void ExpectRowsTicked(const std::vector<Text>& names) {
    EXPECT_EQ(view_.RowNames(), names);
    for (const auto& row : view_.rows) EXPECT_EQ(row.tick, 1) << row.name;
  }

  TemporaryFolder temp_;
  Text root_;
  Win32FileSystem fs_;
  FakeView view_;
  std::unique_ptr<SharedState> state_;
  ResultList results_;
  Tool tool_;
  std::vector<PackageListBuilder::Entry> entries_;
  std::vector<Text> toolFiles_;
};

// The same cases cleaned by deleting and by moving into the backup folder.
class BothCleanModes : public FaultsOnDisk, public ::testing::WithParamInterface<bool> {
 protected:
  bool Backup() const { return GetParam(); }
  // After a cleanup: the files that are gone from the pack folder, and (in
  // backup mode) stand in the backup folder with their content.
  void ExpectCleaned(const std::map<Text, std::string>& files) {
    for (const auto& [name, content] : files) {
      EXPECT_FALSE(WidePathListed(InPack(name))) << name;
      if (Backup()) {
        EXPECT_EQ(WideFileContent(InBackup(name)), content) << name;
      }
    }
  }
  void ChooseModeAndClean(UiText expectedTitle) {
    if (Backup()) ChooseBackup();
    EXPECT_EQ(TickAllAndClean(), expectedTitle);
  }
};

INSTANTIATE_TEST_SUITE_P(OnDisk, BothCleanModes, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& mode) { return mode.param ? "Backup" : "Delete"; });

TEST_P(BothCleanModes, AFileHeldOpenWithoutSharingIsReportedAndKept) {
  Pack("held.NPK", "official, held open", true);
  Pack("ok.NPK", "official", true);
  Pack("patch.NPK", "unofficial", false);
  WriteListAndChooseRoot();
  FileHandle held(CreateFileW(InPack(L"held.NPK").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held.Valid());

  // It cannot be read, so its digest is that of nothing; the scan goes on.
  EXPECT_EQ(Scan(), (Verdicts{{"held.NPK", kDigest}, {"patch.NPK", kUnlisted}}));
  ChooseModeAndClean(ui::kTitleWarning);
  ExpectRowsTicked({"held.NPK"});
  ExpectCleaned({{"patch.NPK", "unofficial"}});
  EXPECT_FALSE(WidePathListed(InBackup("held.NPK")));

  held.Reset();
  EXPECT_EQ(WideFileContent(InPack(L"held.NPK")), "official, held open");
  EXPECT_EQ(TickAllAndClean(), ui::kTitleDone);  // once let go, it is cleaned
  ExpectCleaned({{"held.NPK", "official, held open"}});
  EXPECT_EQ(WideFileContent(InPack(L"ok.NPK")), "official");
}

TEST_F(FaultsOnDisk, AReadOnlyFileIsKeptInDeleteMode) {
  Pack("readonly.NPK", "read-only", false, FILE_ATTRIBUTE_READONLY);
  Pack("writable.NPK", "writable", false);
  WriteListAndChooseRoot();
  EXPECT_EQ(Scan(), (Verdicts{{"readonly.NPK", kUnlisted}, {"writable.NPK", kUnlisted}}));
  EXPECT_EQ(TickAllAndClean(), ui::kTitleWarning);
  ExpectRowsTicked({"readonly.NPK"});
  EXPECT_EQ(WideFileContent(InPack(L"readonly.NPK")), "read-only");
  EXPECT_FALSE(WidePathListed(InPack(L"writable.NPK")));
}

TEST_F(FaultsOnDisk, ABackupFolderRemovedAfterChoosingLosesNothing) {
  Pack("a.NPK", "patch a", false);
  Pack("b.NPK", "patch b", false);
  WriteListAndChooseRoot();
  Scan();
  ChooseBackup();
  ASSERT_TRUE(RemoveDirectoryW(In(L"Backup").c_str()));
  EXPECT_EQ(TickAllAndClean(), ui::kTitleWarning);
  ExpectRowsTicked({"a.NPK", "b.NPK"});
  EXPECT_EQ(WideFileContent(InPack(L"a.NPK")), "patch a");
  EXPECT_EQ(WideFileContent(InPack(L"b.NPK")), "patch b");
  EXPECT_FALSE(WidePathListed(In(L"Backup")));  // not made again
}

TEST_F(FaultsOnDisk, AListGoneOrChangedBeforeTheScanGivesAWarningAndNoRows) {
  Pack("official.NPK", "official", true);
  Pack("patch.NPK", "unofficial", false);
  const std::wstring list = In(L"Game\\package.lst");
  const std::string bytes = ListBytes();
  FileHandle holder;
  struct Case {
    const char* what;
    std::function<void()> change;
  };
  const Case cases[] = {
      {"deleted", [&] { DeleteFileW(list.c_str()); }},
      {"replaced by a folder", [&] { DeleteFileW(list.c_str()), CreateDirectoryW(list.c_str(), nullptr); }},
      {"cut inside the record",
       [&] { DeleteFileW(list.c_str()), MakeWideFile(list, bytes.substr(0, bytes.size() - 30)); }},
      {"held open without sharing",
       [&] { holder = FileHandle(CreateFileW(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RemoveDirectoryW(list.c_str());
    WriteListAndChooseRoot();
    c.change();
    EXPECT_TRUE(Scan().empty());
    ASSERT_FALSE(view_.messages.empty());
    EXPECT_EQ(view_.messages[0].text, ui::kLstUnreadable);
    EXPECT_EQ(view_.messages[0].icon, MessageIcon::Error);
    holder.Reset();
  }
  EXPECT_EQ(WideFileContent(InPack(L"official.NPK")), "official");
  EXPECT_EQ(WideFileContent(InPack(L"patch.NPK")), "unofficial");
}

TEST_P(BothCleanModes, NamesAtAndBeyondMaxPathAreScannedAndCleanedAsThemselves) {
  const std::size_t folderLength = JoinPath(JoinPath(root_, "ImagePacks2"), "").size();
  // A name that gives its whole path `length` characters; the last one is
  // the 255 characters that a name may hold at most.
  auto name = [&](std::size_t length, char fill) { return Text(length - folderLength - 4, fill) + ".NPK"; };
  const std::vector<Text> unofficial = {name(MAX_PATH - 1, 'u'), name(MAX_PATH, 'v'), name(MAX_PATH + 1, 'w'),
                                        name(folderLength + 255, 'x')};
  Verdicts expected;
  std::map<Text, std::string> cleaned;
  for (const Text& patch : unofficial) {
    Text official = patch;
    official[0] = 'o';  // a neighbour of the same length
    Pack(official, "official " + official, true);
    Pack(patch, "patch " + patch, false);
    expected[patch] = kUnlisted;
    cleaned[patch] = "patch " + patch;
  }
  WriteListAndChooseRoot();
  EXPECT_EQ(Scan(), expected);  // every official file was read: its digest matched
  ChooseModeAndClean(ui::kTitleDone);
  EXPECT_TRUE(view_.rows.empty());
  ExpectCleaned(cleaned);
  for (const Text& patch : unofficial) {
    Text official = patch;
    official[0] = 'o';
    EXPECT_EQ(WideFileContent(InPack(official)), "official " + official);
  }
}

TEST_P(BothCleanModes, TrailingDotsAndSpacesNameFilesOfTheirOwn) {
  // Plain Win32 paths strip the trailing dots and spaces: "A.NPK." would
  // read and delete the official "A.NPK".
  Pack("A.NPK", "official A", true);
  Pack("A.NPK.", "patch with a dot", false);
  Pack("A.NPK ", "patch with a space", false);
  Pack("A.NPK. .", "patch with dots and a space", false);
  Pack("B.NPK.", "official B, listed with its dot", true);
  Pack("B.NPK", "patch without the dot", false);
  WriteListAndChooseRoot();
  EXPECT_EQ(Scan(), (Verdicts{{"A.NPK.", kUnlisted}, {"A.NPK ", kUnlisted}, {"A.NPK. .", kUnlisted},
                              {"B.NPK", kUnlisted}}));
  ChooseModeAndClean(ui::kTitleDone);
  ExpectCleaned({{"A.NPK.", "patch with a dot"},
                 {"A.NPK ", "patch with a space"},
                 {"A.NPK. .", "patch with dots and a space"},
                 {"B.NPK", "patch without the dot"}});
  EXPECT_EQ(WideFileContent(InPack(L"A.NPK")), "official A");
  EXPECT_EQ(WideFileContent(InPack(L"B.NPK.")), "official B, listed with its dot");
}

TEST_P(BothCleanModes, LinksAreNeverCleanedThrough) {
  const UnixCommands unix_commands;
  if (!unix_commands.UnderWine()) GTEST_SKIP() << "Linux links exist only under Wine";
  const std::wstring precious = In(L"Outside\\precious.dat");
  ASSERT_TRUE(MakeWideFile(precious, "precious"));
  Pack("A.NPK", "official A", true);
  // Deleting or moving any of these under Wine would act on its target.
  ASSERT_TRUE(unix_commands.Link(PackFolder(), L"outside.NPK", unix_commands.UnixPath(precious)));
  ASSERT_TRUE(unix_commands.Link(PackFolder(), L"sibling.NPK", L"A.NPK"));
  // A listed link whose target has the listed content passes the digest.
  ASSERT_TRUE(unix_commands.Link(PackFolder(), L"listed.NPK", unix_commands.UnixPath(precious)));
  Listed("listed.NPK", "precious");
  WriteListAndChooseRoot();
  EXPECT_EQ(Scan(), (Verdicts{{"outside.NPK", kUnlisted}, {"sibling.NPK", kUnlisted}}));
  ChooseModeAndClean(ui::kTitleWarning);
  ExpectRowsTicked({"outside.NPK", "sibling.NPK"});
  EXPECT_EQ(WideFileContent(precious), "precious");
  EXPECT_EQ(WideFileContent(InPack(L"A.NPK")), "official A");
  for (const wchar_t* link : {L"outside.NPK", L"sibling.NPK", L"listed.NPK"}) EXPECT_TRUE(WidePathListed(InPack(link)));
  EXPECT_FALSE(WidePathListed(InBackup("outside.NPK")));
  EXPECT_FALSE(WidePathListed(InBackup("sibling.NPK")));
}

TEST_F(FaultsOnDisk, ALinkInTheBackupFolderIsNeverWrittenThrough) {
  const UnixCommands unix_commands;
  if (!unix_commands.UnderWine()) GTEST_SKIP() << "Linux links exist only under Wine";
  const std::wstring precious = In(L"Outside\\precious.dat");
  ASSERT_TRUE(MakeWideFile(precious, "precious"));
  Pack("patch.NPK", "patch", false);
  Pack("other.NPK", "other patch", false);
  WriteListAndChooseRoot();
  Scan();
  ChooseBackup();
  // The move cannot replace it, and a replacing copy onto the link would
  // write the patch into its target.
  ASSERT_TRUE(unix_commands.Link(In(L"Backup"), L"patch.NPK", unix_commands.UnixPath(precious)));
  EXPECT_EQ(TickAllAndClean(), ui::kTitleWarning);
  ExpectRowsTicked({"patch.NPK"});
  EXPECT_EQ(WideFileContent(precious), "precious");
  EXPECT_EQ(WideFileContent(InPack(L"patch.NPK")), "patch");
  EXPECT_EQ(WideFileContent(In(L"Backup\\other.NPK")), "other patch");
}

TEST_F(FaultsOnDisk, FifosNeitherBlockTheScanNorAreCleaned) {
  const UnixCommands unix_commands;
  if (!unix_commands.UnderWine()) GTEST_SKIP() << "a FIFO can be made only under Wine";
  // Opening a FIFO for reading waits for a writer: the scan would hang in a
  // digest, whether of a listed name or of a skip name.
  for (const wchar_t* fifo : {L"listed.NPK", L"unlisted.NPK", L"skipped.NPK"}) {
    ASSERT_TRUE(unix_commands.Fifo(InPack(fifo))) << "cannot make a FIFO";
  }
  Listed("listed.NPK", "x");
  Pack("A.NPK", "official A", true);
  WriteSkipList("[ImagePacks2]\r\nskipped.NPK=1\r\n");
  WriteListAndChooseRoot();
  EXPECT_EQ(Scan(), (Verdicts{{"listed.NPK", kDigest}, {"unlisted.NPK", kUnlisted}}));
  EXPECT_EQ(TickAllAndClean(), ui::kTitleWarning);
  ExpectRowsTicked({"listed.NPK", "unlisted.NPK"});
  for (const wchar_t* fifo : {L"listed.NPK", L"unlisted.NPK", L"skipped.NPK"}) EXPECT_TRUE(WidePathListed(InPack(fifo)));
}

TEST_F(FaultsOnDisk, ANameTheCodePageCannotHoldStaysListedWhenCleaned) {
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "the UTF-8 code page holds every name";
  // U+0E01 is in neither code page 1252 nor 936: the listing names the file
  // "?.NPK", which reaches no file at all. It cannot be cleaned, and it is
  // not gone either.
  ASSERT_TRUE(MakeWideFile(InPack(L"\u0e01.NPK"), "out of the code page"));
  Pack("A.NPK", "official A", true);
  WriteListAndChooseRoot();
  EXPECT_EQ(Scan(), (Verdicts{{"?.NPK", kUnlisted}}));
  EXPECT_EQ(TickAllAndClean(), ui::kTitleWarning);
  ExpectRowsTicked({"?.NPK"});
  EXPECT_EQ(WideFileContent(InPack(L"\u0e01.NPK")), "out of the code page");
  EXPECT_EQ(WideFileContent(InPack(L"A.NPK")), "official A");
}

TEST_F(FaultsOnDisk, GbkNamesWithABackslashTrailByteAreCleanedAsThemselves) {
  wchar_t lang[32] = L"";
  GetEnvironmentVariableW(L"LANG", lang, 32);
  if (wcsncmp(lang, L"zh_CN", 5) != 0) GTEST_SKIP() << "runs with LANG=zh_CN.UTF-8 (code page 936)";
  ASSERT_EQ(GetACP(), 936u);
  // U+661E is 0x95 0x5C in GBK: its second byte is that of "\". Taken for a
  // separator, "<U+661E>A.NPK" would name the official "A.NPK".
  const Text lead = "\x95\x5C";
  Pack(L"A.NPK", "A.NPK", "official A", true);
  Pack(L"\u661eB.NPK", lead + "B.NPK", "official, GBK name", true);
  Pack(L"\u661eA.NPK", lead + "A.NPK", "patch, GBK name", false);
  Pack(L"\u661eK.NPK", lead + "K.NPK", "kept by the skip list", false);
  WriteSkipList("[ImagePacks2]\r\n" + lead + "K.NPK=1\r\n");
  WriteListAndChooseRoot();
  EXPECT_EQ(Scan(), (Verdicts{{lead + "A.NPK", kUnlisted}}));
  EXPECT_EQ(TickAllAndClean(), ui::kTitleDone);
  EXPECT_FALSE(WidePathListed(InPack(L"\u661eA.NPK")));
  EXPECT_EQ(WideFileContent(InPack(L"A.NPK")), "official A");
  EXPECT_EQ(WideFileContent(InPack(L"\u661eB.NPK")), "official, GBK name");
  EXPECT_EQ(WideFileContent(InPack(L"\u661eK.NPK")), "kept by the skip list");
}

}  // namespace
