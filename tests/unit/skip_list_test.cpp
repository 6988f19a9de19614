#include "scan/skip_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "memory_file_system.h"

namespace {

using namespace std::string_literals;
using Names = std::vector<Text>;

const Text kProgramFolder = "C:\\Tool";

// The ASCII text as UTF-16LE bytes behind a byte-order mark.
std::string Utf16(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) {
    bytes.push_back(c);
    bytes.push_back('\0');
  }
  return bytes;
}

Names Load(MemoryFileSystem& fs, const Text& section, Names names = {}) {
  LoadSkipList(fs, SkipListPath(kProgramFolder), section, &names);
  return names;
}

TEST(SkipList, PathIsBesideTheProgram) {
  EXPECT_EQ(SkipListPath("C:\\Games\\Tool"), "C:\\Games\\Tool\\Skip_Npk.ini");
}

TEST(SkipList, NamesOfTheSection) {
  const std::string both =
      "[ImagePacks2]\r\nA.NPK=1\r\nB.NPK=1\r\n[SoundPacks]\r\nS1.NPK=1\r\nS2.NPK=\r\n[Other]\r\nO.NPK=1\r\n";
  struct Case {
    const char* what;
    std::string content;
    Text section;
    Names names;
  };
  const Case cases[] = {
      {"first of two sections", both, "ImagePacks2", {"A.NPK", "B.NPK"}},
      {"second section ends at the next header", both, "SoundPacks", {"S1.NPK", "S2.NPK"}},
      {"header letter case differs", "[imagepacks2]\r\nA.NPK=1\r\n", "ImagePacks2", {}},
      {"no such section", "[Other]\r\nA.NPK=1\r\n", "ImagePacks2", {}},
      {"empty file", "", "ImagePacks2", {}},
      {"only the first of two equal headers counts", "[ImagePacks2]\r\nA=1\r\n[ImagePacks2]\r\nB=1\r\n",
       "ImagePacks2", {"A"}},
      {"last line without CR LF ends in =", "[ImagePacks2]\r\nA=1\r\nLast.NPK=", "ImagePacks2", {"A", "Last.NPK"}},
      {"[ inside a name ends the section", "[ImagePacks2]\r\nA=1\r\nB[x].NPK=1\r\nC=1\r\n", "ImagePacks2", {"A"}},
      {"spaces around = are kept", "[ImagePacks2]\r\n A.NPK = 1\r\n", "ImagePacks2", {" A.NPK "}},
      {"LF alone does not end a line", "[ImagePacks2]\nA.NPK=1\nB.NPK=1\n", "ImagePacks2", {"ePacks2]\nA.NPK"}},
      {"CR alone does not end a line", "[ImagePacks2]\r\nA=1\rB=1\r\n", "ImagePacks2", {"A"}},
      {"UTF-16 file", Utf16("[ImagePacks2]\r\nA.NPK=1\r\n"), "ImagePacks2", {}},
      {"byte-order mark swallows the [ right after it", "\xEF\xBB\xBF[ImagePacks2]\r\nA=1\r\n", "ImagePacks2", {}},
      {"after a byte-order mark the header further down counts",
       "\xEF\xBB\xBF[ImagePacks2]\r\nA=1\r\n[ImagePacks2]\r\nB=1\r\n", "ImagePacks2", {"B"}},
      {"= as the line's first byte", "[ImagePacks2]\r\n=A.NPK\r\nB=1\r\n", "ImagePacks2", {"B"}},
      {"comment line holding =", "[ImagePacks2]\r\n; keep a=b\r\n", "ImagePacks2", {"; keep a"}},
      {"duplicate names are kept", "[ImagePacks2]\r\nA=1\r\nA=2\r\n", "ImagePacks2", {"A", "A"}},
      {"empty lines yield nothing", "[ImagePacks2]\r\n\r\n\r\nA=1\r\n\r\n", "ImagePacks2", {"A"}},
      {"header in the middle of a line", "x=1 [ImagePacks2]\r\nA=1\r\n", "ImagePacks2", {"A"}},
      // The body starts five bytes after the "[": the rest of the header line
      // is the body's first line.
      {"entry on the ImagePacks2 header line", "[ImagePacks2]X.NPK=1\r\nA=1\r\n", "ImagePacks2",
       {"ePacks2]X.NPK", "A"}},
      {"entry on the SoundPacks header line", "[SoundPacks]Y.NPK=1\r\n", "SoundPacks", {"dPacks]Y.NPK"}},
      {"header of a short section name, body past the end", "[A]", "A", {}},
      {"zero byte ends the text", "[ImagePacks2]\r\nA=1\r\n\0B=1\r\n"s, "ImagePacks2", {"A"}},
      // 0xB2 0x5B is one double-byte character whose second byte is "[".
      {"[ as a trail byte does not end the section", "[ImagePacks2]\r\n\xB2[.NPK=1\r\nB=1\r\n", "ImagePacks2",
       {"\xB2[.NPK", "B"}},
      {"double-byte names keep their bytes", "[ImagePacks2]\r\n\xD6\xD0\xCE\xC4.NPK=1\r\n", "ImagePacks2",
       {"\xD6\xD0\xCE\xC4.NPK"}},
      {"names with folders are kept as they stand", "[ImagePacks2]\r\n..\\..\\x.NPK=1\r\nsub\\y.NPK=1\r\n",
       "ImagePacks2", {"..\\..\\x.NPK", "sub\\y.NPK"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem fs;
    fs.AddFile(SkipListPath(kProgramFolder), c.content);
    EXPECT_EQ(Load(fs, c.section), c.names);
  }
}

TEST(SkipList, NothingWhenTheFileCannotBeRead) {
  const std::string content = "[ImagePacks2]\r\nA.NPK=1\r\n";
  const Text path = SkipListPath(kProgramFolder);
  struct Case {
    const char* what;
    std::function<void(MemoryFileSystem&)> setUp;
  };
  const Case cases[] = {
      {"no file", [](MemoryFileSystem&) {}},
      {"a folder of that name", [&](MemoryFileSystem& fs) { fs.AddFolder(path); }},
      {"file held open without sharing", [&](MemoryFileSystem& fs) { fs.AddFile(path, content, {.locked = true}); }},
      {"read fails",
       [&](MemoryFileSystem& fs) {
         fs.AddFile(path, content);
         fs.Fail(MemoryFileSystem::Op::ReadWhole, path);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem fs;
    c.setUp(fs);
    EXPECT_EQ(Load(fs, "ImagePacks2", {"Kept.NPK"}), Names{"Kept.NPK"});
  }
}

TEST(SkipList, AppendsAfterNamesAlreadyThere) {
  MemoryFileSystem fs;
  fs.AddFile(SkipListPath(kProgramFolder), "[ImagePacks2]\r\nA=1\r\nB=1\r\n");
  EXPECT_EQ(Load(fs, "ImagePacks2", {"A", "Z"}), (Names{"A", "Z", "A", "B"}));
}

}  // namespace
