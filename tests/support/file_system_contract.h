#pragma once
// What every FileSystem must do, written once and run against each
// implementation: the in-memory double natively and Win32FileSystem under
// Wine on a real temporary folder. A test program instantiates it with its
// fixture type:
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileSystemContract, MemoryFixture);
//
// The suite lives in this header (typed tests are templates), so each test
// program registers it without a link-time reference to a support library.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/file_system.h"
#include "text/text.h"

// Prepares files for the contract and looks at them past the FileSystem
// under test. A fixture type derives from this and is default-constructible;
// each test gets a fresh one with an empty root folder.
class FileSystemFixture {
 public:
  virtual ~FileSystemFixture() = default;
  virtual FileSystem& System() = 0;
  // An existing empty folder, without a trailing "\".
  virtual Text Root() = 0;
  virtual void MakeFolder(const Text& path) = 0;
  virtual void MakeFile(const Text& path, const std::string& content) = 0;
  virtual void MakeHiddenFile(const Text& path, const std::string& content) = 0;
  virtual void MakeReadOnlyFile(const Text& path, const std::string& content) = 0;
  // Keeps the file open, sharing nothing with other openers, until the
  // fixture ends.
  virtual void HoldOpenWithoutSharing(const Text& path) = 0;
  virtual bool HasFile(const Text& path) = 0;
  virtual std::string ContentOf(const Text& path) = 0;
};

template <typename Fixture>
class FileSystemContract : public ::testing::Test {
 protected:
  Text At(const Text& name) { return JoinPath(fixture_.Root(), name); }
  std::vector<Text> SortedListing(const Text& folder, bool* listed = nullptr) {
    std::vector<Text> names{"stale"};
    const bool ok = fs_.ListFiles(folder, &names);
    if (listed) *listed = ok;
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string WholeContent(const Text& path, bool* read) {
    std::string content = "stale";
    *read = fs_.ReadWholeFile(path, &content);
    return content;
  }

  Fixture fixture_;
  FileSystem& fs_ = fixture_.System();
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, ListingKeepsHiddenFilesAndSkipsFolders) {
  auto& f = this->fixture_;
  f.MakeFile(this->At("A.NPK"), "a");
  f.MakeHiddenFile(this->At("H.NPK"), "h");
  f.MakeFolder(this->At("Sub"));
  f.MakeFile(this->At("Sub\\Inner.NPK"), "i");
  f.MakeFolder(this->At("Empty"));

  bool listed = false;
  EXPECT_EQ(this->SortedListing(f.Root(), &listed), (std::vector<Text>{"A.NPK", "H.NPK"}));
  EXPECT_TRUE(listed);
  EXPECT_EQ(this->SortedListing(this->At("Sub"), &listed), std::vector<Text>{"Inner.NPK"});
  EXPECT_TRUE(this->SortedListing(this->At("Empty"), &listed).empty());
  EXPECT_TRUE(listed);
  // Neither a missing folder nor a file can be listed; no names are left.
  for (const char* name : {"Missing", "A.NPK"}) {
    EXPECT_TRUE(this->SortedListing(this->At(name), &listed).empty()) << name;
    EXPECT_FALSE(listed) << name;
  }
}

TYPED_TEST_P(FileSystemContract, ExistsForFilesAndFoldersAndOnlyFilesArePlain) {
  auto& f = this->fixture_;
  f.MakeFile(this->At("A.NPK"), "a");
  f.MakeFolder(this->At("Sub"));
  struct Case {
    const char* name;
    bool exists;
    bool plain;
  };
  for (const Case& c : {Case{"A.NPK", true, true}, Case{"Sub", true, false}, Case{"Missing.NPK", false, false},
                        Case{"Missing\\A.NPK", false, false}}) {
    EXPECT_EQ(this->fs_.Exists(this->At(c.name)), c.exists) << c.name;
    EXPECT_EQ(this->fs_.IsPlainFile(this->At(c.name)), c.plain) << c.name;
  }
  EXPECT_TRUE(this->fs_.Exists(f.Root()));
}

TYPED_TEST_P(FileSystemContract, LengthIsMinusOneWhenThereIsNoFile) {
  auto& f = this->fixture_;
  f.MakeFile(this->At("A.NPK"), "abc");
  f.MakeFile(this->At("Empty.NPK"), "");
  f.MakeFolder(this->At("Sub"));
  EXPECT_EQ(this->fs_.LengthOf(this->At("A.NPK")), 3);
  EXPECT_EQ(this->fs_.LengthOf(this->At("Empty.NPK")), 0);
  EXPECT_EQ(this->fs_.LengthOf(this->At("Sub")), -1);
  EXPECT_EQ(this->fs_.LengthOf(this->At("Missing.NPK")), -1);
}

TYPED_TEST_P(FileSystemContract, WholeFileReadIsEmptyAndFalseWhenUnreadable) {
  auto& f = this->fixture_;
  const std::string bytes("\0\x1A\r\n\xFF" "end", 8);
  f.MakeFile(this->At("A.NPK"), bytes);
  f.MakeFile(this->At("Empty.NPK"), "");
  f.MakeFolder(this->At("Sub"));
  bool read = false;
  EXPECT_EQ(this->WholeContent(this->At("A.NPK"), &read), bytes);
  EXPECT_TRUE(read);
  EXPECT_EQ(this->WholeContent(this->At("Empty.NPK"), &read), "");
  EXPECT_TRUE(read);
  for (const char* name : {"Sub", "Missing.NPK"}) {
    EXPECT_EQ(this->WholeContent(this->At(name), &read), "") << name;
    EXPECT_FALSE(read) << name;
    EXPECT_EQ(this->fs_.OpenForReading(this->At(name)), nullptr) << name;
  }
}

TYPED_TEST_P(FileSystemContract, PositionedReadsAtAnyOffset) {
  // Longer than any read-ahead buffer, so reads cross and refill it.
  std::string content(150000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
  this->fixture_.MakeFile(this->At("A.NPK"), content);
  auto file = this->fs_.OpenForReading(this->At("A.NPK"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Length(), 150000);

  struct Case {
    std::int64_t offset;
    std::int64_t n;
    std::int64_t expected;
  };
  // In this order on one open file: forwards, backwards, across 64 KiB,
  // large reads, the end and past it.
  for (const Case& c : {Case{0, 10, 10}, Case{100000, 16, 16}, Case{5, 3, 3}, Case{65530, 20, 20},
                        Case{65536, 65536, 65536}, Case{100, 70000, 70000}, Case{0, 150000, 150000},
                        Case{149990, 100, 10}, Case{150000, 10, 0}, Case{200000, 10, 0}, Case{-1, 10, 0},
                        Case{7, 0, 0}}) {
    std::string got(static_cast<std::size_t>(std::max<std::int64_t>(c.n, 1)), '#');
    const std::int64_t count = file->ReadAt(c.offset, got.data(), c.n);
    EXPECT_EQ(count, c.expected) << "at " << c.offset << " for " << c.n;
    if (count > 0 && count == c.expected) {
      EXPECT_TRUE(got.compare(0, count, content, c.offset, count) == 0) << "at " << c.offset << " for " << c.n;
    }
  }
}

TYPED_TEST_P(FileSystemContract, MoveToAFreshNameOrOntoAnExistingFile) {
  auto& f = this->fixture_;
  f.MakeFolder(this->At("Backup"));
  f.MakeFile(this->At("A.NPK"), "first");
  EXPECT_TRUE(this->fs_.Move(this->At("A.NPK"), this->At("Backup\\A.NPK")));
  EXPECT_FALSE(f.HasFile(this->At("A.NPK")));
  EXPECT_EQ(f.ContentOf(this->At("Backup\\A.NPK")), "first");

  // The ordinary move refuses an existing target; the copy replaces it.
  f.MakeFile(this->At("A.NPK"), "second");
  EXPECT_TRUE(this->fs_.Move(this->At("A.NPK"), this->At("Backup\\A.NPK")));
  EXPECT_FALSE(f.HasFile(this->At("A.NPK")));
  EXPECT_EQ(f.ContentOf(this->At("Backup\\A.NPK")), "second");
}

TYPED_TEST_P(FileSystemContract, MoveIntoAMissingFolderLeavesTheSource) {
  auto& f = this->fixture_;
  f.MakeFile(this->At("A.NPK"), "a");
  EXPECT_FALSE(this->fs_.Move(this->At("A.NPK"), this->At("Missing\\A.NPK")));
  EXPECT_EQ(f.ContentOf(this->At("A.NPK")), "a");
  EXPECT_FALSE(this->fs_.Exists(this->At("Missing")));
}

TYPED_TEST_P(FileSystemContract, MoveOntoItselfKeepsTheFile) {
  // A backup folder chosen to be the pack folder itself: the ordinary move
  // finds the target there, and a replacing copy onto the source followed
  // by its delete would lose the file.
  auto& f = this->fixture_;
  f.MakeFolder(this->At("Pack"));
  f.MakeFile(this->At("Pack\\A.NPK"), "only copy");
  for (const Text& to : {this->At("Pack\\A.NPK"), f.Root() + "\\\\Pack\\A.NPK"}) {
    EXPECT_FALSE(this->fs_.Move(this->At("Pack\\A.NPK"), to)) << to;
    EXPECT_EQ(f.ContentOf(this->At("Pack\\A.NPK")), "only copy") << to;
  }
}

TYPED_TEST_P(FileSystemContract, DeleteRemovesOnlyWhatItMay) {
  auto& f = this->fixture_;
  f.MakeFile(this->At("A.NPK"), "a");
  f.MakeReadOnlyFile(this->At("R.NPK"), "r");
  f.MakeFolder(this->At("Sub"));
  EXPECT_TRUE(this->fs_.Delete(this->At("A.NPK")));
  EXPECT_FALSE(f.HasFile(this->At("A.NPK")));
  EXPECT_FALSE(this->fs_.Delete(this->At("R.NPK")));
  EXPECT_EQ(f.ContentOf(this->At("R.NPK")), "r");
  EXPECT_FALSE(this->fs_.Delete(this->At("Sub")));
  EXPECT_TRUE(this->fs_.Exists(this->At("Sub")));
  EXPECT_FALSE(this->fs_.Delete(this->At("Missing.NPK")));
}

TYPED_TEST_P(FileSystemContract, FileHeldOpenWithoutSharingIsLeftAlone) {
  auto& f = this->fixture_;
  f.MakeFolder(this->At("Backup"));
  f.MakeFile(this->At("L.NPK"), "locked");
  f.HoldOpenWithoutSharing(this->At("L.NPK"));
  bool read = true;
  EXPECT_EQ(this->WholeContent(this->At("L.NPK"), &read), "");
  EXPECT_FALSE(read);
  EXPECT_EQ(this->fs_.OpenForReading(this->At("L.NPK")), nullptr);
  EXPECT_FALSE(this->fs_.Delete(this->At("L.NPK")));
  EXPECT_FALSE(this->fs_.Move(this->At("L.NPK"), this->At("Backup\\L.NPK")));
  EXPECT_TRUE(f.HasFile(this->At("L.NPK")));
  EXPECT_FALSE(f.HasFile(this->At("Backup\\L.NPK")));
}

TYPED_TEST_P(FileSystemContract, TrailingDotOrSpaceNamesAreFilesOfTheirOwn) {
  // A plain Win32 path drops a trailing dot or space, so "A.NPK." would
  // reach the official "A.NPK".
  auto& f = this->fixture_;
  f.MakeFolder(this->At("Backup"));
  f.MakeFile(this->At("A.NPK"), "1");
  f.MakeFile(this->At("A.NPK."), "22");
  f.MakeFile(this->At("A.NPK "), "333");
  f.MakeFile(this->At("Z.NPK.."), "lone");  // no "Z.NPK" beside it
  EXPECT_EQ(this->SortedListing(f.Root()), (std::vector<Text>{"A.NPK", "A.NPK ", "A.NPK.", "Z.NPK.."}));
  struct Case {
    const char* name;
    std::string content;
  };
  for (const Case& c : {Case{"A.NPK", "1"}, Case{"A.NPK.", "22"}, Case{"A.NPK ", "333"}, Case{"Z.NPK..", "lone"}}) {
    bool read = false;
    EXPECT_EQ(this->fs_.LengthOf(this->At(c.name)), static_cast<std::int32_t>(c.content.size())) << c.name;
    EXPECT_EQ(this->WholeContent(this->At(c.name), &read), c.content) << c.name;
    EXPECT_TRUE(this->fs_.IsPlainFile(this->At(c.name))) << c.name;
  }
  EXPECT_TRUE(this->fs_.Delete(this->At("A.NPK.")));
  EXPECT_TRUE(this->fs_.Move(this->At("A.NPK "), this->At("Backup\\A.NPK ")));
  EXPECT_EQ(this->SortedListing(f.Root()), (std::vector<Text>{"A.NPK", "Z.NPK.."}));
  EXPECT_EQ(f.ContentOf(this->At("A.NPK")), "1");
  EXPECT_EQ(this->SortedListing(this->At("Backup")), std::vector<Text>{"A.NPK "});
  EXPECT_EQ(f.ContentOf(this->At("Backup\\A.NPK ")), "333");
}

TYPED_TEST_P(FileSystemContract, PathsLongerThan260Characters) {
  auto& f = this->fixture_;
  const Text folder = this->At(Text(150, 'd'));
  const Text name = Text(150, 'f') + ".NPK";
  const Text path = JoinPath(folder, name);
  ASSERT_GT(path.size(), 260u);
  f.MakeFolder(folder);
  f.MakeFile(path, "long");
  EXPECT_EQ(this->SortedListing(folder), std::vector<Text>{name});
  EXPECT_TRUE(this->fs_.Exists(path));
  EXPECT_TRUE(this->fs_.IsPlainFile(path));
  EXPECT_EQ(this->fs_.LengthOf(path), 4);
  bool read = false;
  EXPECT_EQ(this->WholeContent(path, &read), "long");
  const Text moved = JoinPath(folder, Text(150, 'g'));
  EXPECT_TRUE(this->fs_.Move(path, moved));
  EXPECT_TRUE(this->fs_.Delete(moved));
  EXPECT_TRUE(this->SortedListing(folder).empty());
}

TYPED_TEST_P(FileSystemContract, RepeatedSeparatorsActAsOne) {
  // A drive root joined with "\" gives "C:\\ImagePacks2".
  auto& f = this->fixture_;
  f.MakeFolder(this->At("ImagePacks2"));
  f.MakeFile(this->At("ImagePacks2\\A.NPK"), "x");
  const Text folder = f.Root() + "\\\\ImagePacks2";
  const Text file = folder + "\\\\A.NPK";
  EXPECT_TRUE(this->fs_.Exists(folder));
  EXPECT_EQ(this->SortedListing(folder), std::vector<Text>{"A.NPK"});
  EXPECT_EQ(this->fs_.LengthOf(file), 1);
  EXPECT_TRUE(this->fs_.IsPlainFile(file));
  bool read = false;
  EXPECT_EQ(this->WholeContent(file, &read), "x");
  EXPECT_NE(this->fs_.OpenForReading(file), nullptr);
  EXPECT_TRUE(this->fs_.Delete(file));
  EXPECT_FALSE(f.HasFile(this->At("ImagePacks2\\A.NPK")));
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, ListingKeepsHiddenFilesAndSkipsFolders,
                            ExistsForFilesAndFoldersAndOnlyFilesArePlain, LengthIsMinusOneWhenThereIsNoFile,
                            WholeFileReadIsEmptyAndFalseWhenUnreadable, PositionedReadsAtAnyOffset,
                            MoveToAFreshNameOrOntoAnExistingFile, MoveIntoAMissingFolderLeavesTheSource, MoveOntoItselfKeepsTheFile,
                            DeleteRemovesOnlyWhatItMay, FileHeldOpenWithoutSharingIsLeftAlone,
                            TrailingDotOrSpaceNamesAreFilesOfTheirOwn, PathsLongerThan260Characters,
                            RepeatedSeparatorsActAsOne);
