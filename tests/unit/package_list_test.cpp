// The package.lst reader and the PackageCatalogue, on byte fixtures built in
// the tests.

#include <gtest/gtest.h>

#include "fake_view.h"
#include "memory_file_system.h"
#include "package_list_builder.h"
#include "packagelist/package_catalogue.h"

namespace {

using Directory = PackageListBuilder::Directory;
using Entry = PackageListBuilder::Entry;

const Text kRoot = "C:\\Game";
const Text kList = "C:\\Game\\package.lst";

class PackageListTest : public ::testing::Test {
 protected:
  bool Load(const std::string& bytes) {
    fs.AddFile(kList, bytes);
    return catalogue.LoadIndex(fs, view, kRoot);
  }
  std::vector<Text> Names() const {
    std::vector<Text> names;
    for (const auto& record : catalogue.DirectoryIndex()) names.push_back(record.name);
    return names;
  }

  MemoryFileSystem fs;
  FakeView view;
  PackageCatalogue catalogue;
};

std::string Header(std::string magic) {
  std::string bytes(32, 'H');
  bytes += magic;
  return bytes;
}

TEST_F(PackageListTest, MagicIsTheStoredTextLstAtOffset32) {
  struct Case {
    std::string bytes;
    bool accepted;
  } cases[] = {
      {Header(std::string("LST\0", 4)) + "hhhh" + "TRAILER!", true},
      {Header("LST"), true},                       // ends right after the letters
      {Header(std::string("LST\0", 4)), true},     // 36 bytes: no records
      {Header("LSTX") + std::string(20, '\0'), false},
      {Header(std::string("lst\0", 4)) + std::string(20, '\0'), false},
      {Header("LS"), false},                       // 34 bytes
      {std::string(), false},
  };
  for (const Case& c : cases) {
    view.messages.clear();
    EXPECT_EQ(Load(c.bytes), c.accepted) << testing::PrintToString(c.bytes);
    if (c.accepted) {
      EXPECT_TRUE(view.messages.empty());
    } else {
      ASSERT_EQ(view.messages.size(), 1u);
      EXPECT_EQ(view.messages[0].text, ui::kLstNotAList);
      EXPECT_EQ(view.messages[0].title, ui::kTitleWarning);
      EXPECT_EQ(view.messages[0].icon, MessageIcon::Error);
    }
    EXPECT_TRUE(catalogue.DirectoryIndex().empty());
  }
}

TEST_F(PackageListTest, WalksEveryRecordInFileOrderSkippingEntries) {
  const std::string bytes = PackageListBuilder::File({
      {"ImagePacks2", {{"a.NPK", 10, std::string(32, 'x')}, {"b.NPK", 20, std::string(32, 'y')}}},
      {"SoundPacks", {}},
      {"ImagePacks2", {{"c.NPK", 30, "zz"}}},
  });
  ASSERT_TRUE(Load(bytes));
  EXPECT_EQ(Names(), (std::vector<Text>{"ImagePacks2", "SoundPacks", "ImagePacks2"}));
  EXPECT_EQ(catalogue.DirectoryIndex()[0].offset, 40);
  // The index pass reads the numbers it needs and no entry name or digest.
  EXPECT_LT(fs.BytesRead(), 40 + 3 * (4 + 11 + 4 + 4) + 3 * 8);
  EXPECT_EQ(catalogue.FindDirectory("ImagePacks2"), 0);
  EXPECT_EQ(catalogue.FindDirectory("SoundPacks"), 1);
  EXPECT_EQ(catalogue.FindDirectory("soundpacks"), -1);
}

TEST_F(PackageListTest, DirectoryNamesAsStored) {
  PackageListBuilder b;
  b.Int32(0).Bytes(std::string(4, '\0')).Int32(0).Int32(0);            // 0 means 4: four zero bytes, empty name
  b.Int32(0).Bytes("ABCD").Int32(0).Int32(0);                          // 0 means 4
  b.Counted(std::string("SoundPacks\0", 11)).Int32(0).Int32(0);        // a counted terminating zero
  b.Counted(std::string("Sound\0Packs", 11)).Int32(-3).Int32(0);       // bytes after a zero are lost; negative count
  b.Trailer();
  ASSERT_TRUE(Load(b.Build()));
  EXPECT_EQ(Names(), (std::vector<Text>{"", "ABCD", "SoundPacks", "Sound"}));
}

TEST_F(PackageListTest, EndRuleNoRecordBeginsInTheLastEightBytes) {
  // 48 bytes: no records. 49 bytes: a record is attempted at offset 40.
  std::string base = PackageListBuilder().Build();
  EXPECT_TRUE(Load(base + std::string(8, '\0')));
  EXPECT_TRUE(catalogue.DirectoryIndex().empty());
  EXPECT_TRUE(Load(base + std::string(9, '\0')));
  EXPECT_EQ(Names(), (std::vector<Text>{""}));

  // A record beginning 9 bytes before the end is walked; 8 bytes before is not.
  PackageListBuilder one;
  one.Record({"ImagePacks2", {}});
  const std::string first = one.Build();
  EXPECT_TRUE(Load(first + "\x01" + std::string(4, '\0') + "TAIL"));
  EXPECT_EQ(Names().size(), 2u);
  EXPECT_TRUE(Load(first + std::string(4, '\x7F') + "TAIL"));
  EXPECT_EQ(Names().size(), 1u);
}

TEST_F(PackageListTest, EveryTruncatedPrefixReadsWithoutComplaintAndStops) {
  const std::string bytes = PackageListBuilder::File({
      {"ImagePacks2", {{"a.NPK", 10, std::string(32, 'x')}, {"b.NPK", 20, std::string(32, 'y')}}},
      {"SoundPacks", {{"s.NPK", 5, std::string(32, 's')}}},
  });
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    view.messages.clear();
    const bool accepted = Load(bytes.substr(0, length));
    EXPECT_EQ(accepted, length >= 35) << length;
    EXPECT_EQ(view.messages.size(), accepted ? 0u : 1u);
    for (const auto& record : catalogue.DirectoryIndex()) {
      EXPECT_LT(record.offset, static_cast<std::int64_t>(length)) << length;
    }
    // The first record's name can be read as far as it is there.
    if (length > 48) {
      ASSERT_FALSE(catalogue.DirectoryIndex().empty()) << length;
      EXPECT_EQ(catalogue.DirectoryIndex()[0].name, Text("ImagePacks2").substr(0, length > 44 ? length - 44 : 0));
    }
  }
}

TEST_F(PackageListTest, DamagedLengthsEndTheWalkInsteadOfLooping) {
  struct Case {
    const char* what;
    std::string bytes;
    std::size_t records;
  };
  auto record_then = [](std::int32_t name_length, std::int32_t digest_length) {
    PackageListBuilder b;
    b.Counted("ImagePacks2").Int32(1).Int32(name_length).Bytes("x").Int32(1).Int32(0).Int32(digest_length);
    b.Int32(0).Record({"SoundPacks", {}}).Record({"SoundPacks", {}}).Trailer();
    return b.Build();
  };
  const Case cases[] = {
      // name length -1: skip of 7 bytes, forward; the walk goes on misaligned.
      {"name length backwards", record_then(-100, 0), 1},
      {"digest length backwards", record_then(1, -100), 1},
      {"huge count", PackageListBuilder().Counted("ImagePacks2").Int32(0x7FFFFFFF).Trailer().Build(), 1},
      {"huge name length", PackageListBuilder().Int32(0x7FFFFFFF).Bytes("ImagePacks2").Trailer().Build(), 1},
      {"huge entry name", record_then(0x7FFFFFF0, 0), 1},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(Load(c.bytes)) << c.what;
    EXPECT_EQ(catalogue.DirectoryIndex().size(), c.records) << c.what;
  }
}

TEST_F(PackageListTest, MissingListAndFolderNamedLikeIt) {
  ASSERT_TRUE(Load(PackageListBuilder::File({{"ImagePacks2", {}}})));
  fs.Remove(kList);
  EXPECT_FALSE(catalogue.LoadIndex(fs, view, kRoot));
  EXPECT_TRUE(catalogue.DirectoryIndex().empty());  // the earlier index is gone
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, ui::kLstMissing);
  EXPECT_EQ(view.messages[0].title, ui::kTitleWarning);
  EXPECT_EQ(view.messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(fs.Calls(MemoryFileSystem::Op::Open), 1);  // no file was opened for the missing list

  fs.AddFolder(kList);
  EXPECT_FALSE(catalogue.LoadIndex(fs, view, kRoot));
  EXPECT_EQ(view.LastText(), ui::kLstNotAList);
}

TEST_F(PackageListTest, ReadOnlyListIsAccepted) {
  fs.AddFile(kList, PackageListBuilder::File({{"ImagePacks2", {}}}), {.readOnly = true});
  EXPECT_TRUE(catalogue.LoadIndex(fs, view, kRoot));
  EXPECT_EQ(Names(), (std::vector<Text>{"ImagePacks2"}));
}

TEST_F(PackageListTest, SecondLoadIndexReplacesTheFirstAndEmptiesTheEntries) {
  ASSERT_TRUE(Load(PackageListBuilder::File({{"ImagePacks2", {{"a.NPK", 1, "\x01"}}}, {"SoundPacks", {}}})));
  ASSERT_TRUE(catalogue.LoadEntries(fs, kRoot, 0));
  ASSERT_EQ(catalogue.EntryTable().size(), 1u);
  ASSERT_TRUE(Load(PackageListBuilder::File({{"SoundPacks", {}}})));
  EXPECT_EQ(Names(), (std::vector<Text>{"SoundPacks"}));
  EXPECT_TRUE(catalogue.EntryTable().empty());
}

TEST_F(PackageListTest, LoadEntriesReadsOneRecordAsStored) {
  ASSERT_TRUE(Load(PackageListBuilder::File({
      {"SoundPacks", {{"s.NPK", 1, "s"}}},
      {"ImagePacks2",
       {{"a.NPK", 123, std::string("\x00\x0F\xA0", 3)},
        {"", -5, ""},                                   // empty name, negative size, empty digest
        {std::string("b.NPK\0junk", 10), 7, "\xFF"},    // a counted zero ends the name
        {"a.NPK", 9, "\x01"}}},                         // duplicate names stay
      {"Empty", {}},
  })));
  ASSERT_TRUE(catalogue.LoadEntries(fs, kRoot, 1));
  const auto& table = catalogue.EntryTable();
  ASSERT_EQ(table.size(), 4u);
  EXPECT_EQ(table[0].name, "a.NPK");
  EXPECT_EQ(table[0].size, 123);
  EXPECT_EQ(table[0].digest, "000FA0");
  EXPECT_EQ(table[1].name, "");
  EXPECT_EQ(table[1].size, -5);
  EXPECT_EQ(table[1].digest, "");
  EXPECT_EQ(table[2].name, "b.NPK");
  EXPECT_EQ(table[2].digest, "FF");
  EXPECT_EQ(table[3].size, 9);

  // Loading again gives the same table, not a doubled one.
  ASSERT_TRUE(catalogue.LoadEntries(fs, kRoot, 1));
  EXPECT_EQ(catalogue.EntryTable().size(), 4u);
  // A record with no entries.
  ASSERT_TRUE(catalogue.LoadEntries(fs, kRoot, 2));
  EXPECT_TRUE(catalogue.EntryTable().empty());
}

TEST_F(PackageListTest, LoadEntriesReportsAListThatIsGoneOrEndsInsideTheRecord) {
  const std::string bytes = PackageListBuilder::File({{"ImagePacks2", {{"a.NPK", 1, "\x01\x02"}, {"b.NPK", 2, "\x03\x04"}}}});
  ASSERT_TRUE(Load(bytes));

  // Every cut inside the record: false, with only the complete entries kept.
  const std::size_t record_end = bytes.size() - 8 - 4;
  for (std::size_t length = 41; length < record_end; ++length) {
    fs.AddFile(kList, bytes.substr(0, length));
    EXPECT_FALSE(catalogue.LoadEntries(fs, kRoot, 0)) << length;
    EXPECT_LE(catalogue.EntryTable().size(), 1u);
  }
  // The trailing word and the trailer are not needed.
  fs.AddFile(kList, bytes.substr(0, record_end));
  EXPECT_TRUE(catalogue.LoadEntries(fs, kRoot, 0));
  EXPECT_EQ(catalogue.EntryTable().size(), 2u);

  fs.Remove(kList);
  EXPECT_FALSE(catalogue.LoadEntries(fs, kRoot, 0));
  EXPECT_TRUE(catalogue.EntryTable().empty());
  fs.AddFile(kList, bytes, {.locked = true});
  EXPECT_FALSE(catalogue.LoadEntries(fs, kRoot, 0));
}

TEST_F(PackageListTest, HugeEntryCountNeverAllocatesBeyondTheFile) {
  PackageListBuilder b;
  b.Counted("ImagePacks2").Int32(0x7FFFFFFF).Counted("a.NPK").Int32(1).Int32(0).Counted("\x01");
  ASSERT_TRUE(Load(b.Build()));
  EXPECT_FALSE(catalogue.LoadEntries(fs, kRoot, 0));
  EXPECT_EQ(catalogue.EntryTable().size(), 1u);
}

TEST_F(PackageListTest, EntryInsertionKeepsTheTableInOrder) {
  catalogue.AppendEntry({"a", 1, "A"});
  catalogue.AppendEntry({"c", 3, "C"});
  catalogue.InsertEntry(1, {"b", 2, "B"});
  ASSERT_EQ(catalogue.EntryTable().size(), 3u);
  EXPECT_EQ(catalogue.EntryTable()[1].name, "b");
  EXPECT_EQ(catalogue.EntryTable()[2].size, 3);
}

}  // namespace
