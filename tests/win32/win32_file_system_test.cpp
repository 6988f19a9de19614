// Win32FileSystem on real files: the FileSystem contract in a fresh
// temporary folder, the conversion of paths, and what only a real disk has
// (names the code page cannot hold, Linux links and FIFOs under Wine).

#include "win32/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "file_system_contract.h"
#include "real_disk.h"
#include "win32/extended_path.h"
#include "win32/scoped_handle.h"

namespace {

std::wstring Extended(const Text& path) {
  std::wstring wide;
  EXPECT_TRUE(ToExtendedPath(path, &wide)) << path;
  return wide;
}

class Win32Fixture : public FileSystemFixture {
 public:
  Win32Fixture() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD got = GetTempPathW(MAX_PATH + 1, temp);
    static int counter = 0;
    const std::wstring folder = std::wstring(temp, got) + L"orvane-fs-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(++counter);
    for (wchar_t c : folder) root_.push_back(static_cast<char>(c));  // the temporary folder's name is ASCII
    root_wide_ = Extended(root_);
    if (!CreateDirectoryW(root_wide_.c_str(), nullptr)) ADD_FAILURE() << "cannot make " << root_;
  }
  ~Win32Fixture() override {
    held_.clear();
    const UnixCommands unix_commands;
    if (!unix_commands.UnderWine() || !unix_commands.RemoveTestFolder(root_wide_)) RemoveTree(root_wide_);
  }

  FileSystem& System() override { return fs_; }
  Text Root() override { return root_; }
  void MakeFolder(const Text& path) override { EXPECT_TRUE(CreateDirectoryW(Extended(path).c_str(), nullptr)) << path; }
  void MakeFile(const Text& path, const std::string& content) override {
    DeleteFileW(Extended(path).c_str());  // "make" replaces
    EXPECT_TRUE(MakeWideFile(Extended(path), content)) << path;
  }
  void MakeHiddenFile(const Text& path, const std::string& content) override {
    EXPECT_TRUE(MakeWideFile(Extended(path), content, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) << path;
  }
  void MakeReadOnlyFile(const Text& path, const std::string& content) override {
    EXPECT_TRUE(MakeWideFile(Extended(path), content, FILE_ATTRIBUTE_READONLY)) << path;
  }
  void HoldOpenWithoutSharing(const Text& path) override {
    held_.emplace_back(CreateFileW(Extended(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(held_.back().Valid()) << path;
  }
  bool HasFile(const Text& path) override {
    const DWORD attributes = GetFileAttributesW(Extended(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  std::string ContentOf(const Text& path) override { return WideFileContent(Extended(path)); }

 private:
  Win32FileSystem fs_;
  Text root_;
  std::wstring root_wide_;
  std::vector<FileHandle> held_;
};

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32Fixture);

namespace {

TEST(ExtendedPath, GivesTheVerbatimFormOfAnAbsolutePath) {
  struct Case {
    const char* path;
    const wchar_t* extended;
  };
  for (const Case& c : {
           Case{"C:\\Game\\ImagePacks2", L"\\\\?\\C:\\Game\\ImagePacks2"},
           Case{"C:\\", L"\\\\?\\C:\\"},
           Case{"C:\\\\package.lst", L"\\\\?\\C:\\package.lst"},
           Case{"C:\\Game\\\\\\A.NPK.", L"\\\\?\\C:\\Game\\A.NPK."},
           Case{"C:\\Game\\A.NPK ", L"\\\\?\\C:\\Game\\A.NPK "},
           Case{"C:/Game/A.NPK", L"\\\\?\\C:\\Game\\A.NPK"},
           Case{"C:\\Game\\.\\Sub\\..\\A.NPK", L"\\\\?\\C:\\Game\\A.NPK"},
           Case{"C:\\..\\A.NPK", L"\\\\?\\C:\\A.NPK"},
           Case{"C:\\Game\\", L"\\\\?\\C:\\Game"},
           Case{"\\\\server\\share\\\\A.NPK", L"\\\\?\\UNC\\server\\share\\A.NPK"},
           Case{"\\\\?\\C:\\Game\\A.NPK.", L"\\\\?\\C:\\Game\\A.NPK."},
           Case{"\\\\?\\UNC\\server\\share\\A.NPK", L"\\\\?\\UNC\\server\\share\\A.NPK"},
       }) {
    std::wstring extended;
    EXPECT_TRUE(ToExtendedPath(c.path, &extended)) << c.path;
    EXPECT_EQ(extended, c.extended) << c.path;
  }
}

TEST(ExtendedPath, MakesARelativePathAbsolute) {
  wchar_t current[MAX_PATH];
  const DWORD got = GetCurrentDirectoryW(MAX_PATH, current);
  ASSERT_GT(got, 2u);
  std::wstring extended;
  ASSERT_TRUE(ToExtendedPath("Sub\\A.NPK", &extended));
  std::wstring expected = L"\\\\?\\" + std::wstring(current, got);
  if (expected.back() != L'\\') expected += L'\\';
  EXPECT_EQ(extended, expected + L"Sub\\A.NPK");
  ASSERT_TRUE(ToExtendedPath("\\A.NPK", &extended));
  EXPECT_EQ(extended, L"\\\\?\\" + std::wstring(current, 3) + L"A.NPK");  // the current drive's root
}

TEST(ExtendedPath, RefusesWhatCouldNameAnotherFile) {
  for (const Text& path : {Text(), Text("C:\\A\0B.NPK", 10), Text("C:\\*.NPK"), Text("C:\\A?.NPK"),
                           Text("C:\\A.NPK:stream"), Text("C:\\A|B"), Text("C:\\A\x01"), Text("\\\\.\\PIPE\\x"),
                           Text("\\\\?\\Volume{0}\\A.NPK")}) {
    std::wstring extended = L"stale";
    EXPECT_FALSE(ToExtendedPath(path, &extended)) << path;
    EXPECT_TRUE(extended.empty()) << path;
  }
}

TEST(ExtendedPath, DoubleByteTrailBytesAreNotSeparators) {
  if (GetACP() != 936) GTEST_SKIP() << "needs the GBK code page (LANG=zh_CN.UTF-8), this is " << GetACP();
  // 0x95 0x5C is one GBK character whose trail byte is the byte of "\".
  std::wstring extended;
  ASSERT_TRUE(ToExtendedPath("C:\\\x95\\\\\\A.NPK", &extended));
  EXPECT_EQ(extended, L"\\\\?\\C:\\\u661e\\A.NPK");
  // A lead byte without its trail byte is not valid GBK.
  EXPECT_FALSE(ToExtendedPath("C:\\A\x95", &extended));
}

TEST(AnsiNameFromWide, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(AnsiNameFromWide(L"A.NPK"), "A.NPK");
  EXPECT_EQ(AnsiNameFromWide(L""), "");
  // No best fit of U+0100 onto "A"; an unpaired surrogate is one character.
  EXPECT_EQ(AnsiNameFromWide(L"\u0100.NPK"), "?.NPK");
  EXPECT_EQ(AnsiNameFromWide(std::wstring(L"B\xD800.NPK")), "B?.NPK");
  EXPECT_EQ(AnsiNameFromWide(L"\U0001F600x"), "?x");
}

class Win32FileSystemOnDisk : public ::testing::Test {
 protected:
  Text At(const Text& name) { return JoinPath(fixture_.Root(), name); }
  std::vector<Text> Listing(const Text& folder) {
    std::vector<Text> names;
    EXPECT_TRUE(fs_.ListFiles(folder, &names)) << folder;
    std::sort(names.begin(), names.end());
    return names;
  }

  Win32Fixture fixture_;
  FileSystem& fs_ = fixture_.System();
};

TEST_F(Win32FileSystemOnDisk, ANameTheCodePageCannotHoldReachesNoOtherFile) {
  if (GetACP() == CP_UTF8) GTEST_SKIP() << "the UTF-8 code page holds every name";
  // Best-fit conversion would list "\u0100.NPK" as "A.NPK", the official file.
  const std::wstring root = Extended(fixture_.Root());
  ASSERT_TRUE(MakeWideFile(root + L"\\\u0100.NPK", "unofficial"));
  fixture_.MakeFile(At("A.NPK"), "official");
  EXPECT_EQ(Listing(fixture_.Root()), (std::vector<Text>{"?.NPK", "A.NPK"}));
  EXPECT_FALSE(fs_.Exists(At("?.NPK")));
  EXPECT_EQ(fs_.LengthOf(At("?.NPK")), -1);
  EXPECT_FALSE(fs_.Delete(At("?.NPK")));
  EXPECT_FALSE(fs_.Move(At("?.NPK"), At("A.NPK")));
  EXPECT_EQ(fixture_.ContentOf(At("A.NPK")), "official");
  EXPECT_NE(GetFileAttributesW((root + L"\\\u0100.NPK").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32FileSystemOnDisk, GbkNamesKeepTheirBytes) {
  if (GetACP() != 936) GTEST_SKIP() << "needs the GBK code page (LANG=zh_CN.UTF-8), this is " << GetACP();
  // "\u661e" is 0x95 0x5C in GBK: a listed name whose second byte is "\".
  const Text name = "\x95\\.NPK";
  ASSERT_TRUE(MakeWideFile(Extended(fixture_.Root()) + L"\\\u661e.NPK", "gbk"));
  EXPECT_EQ(Listing(fixture_.Root()), std::vector<Text>{name});
  EXPECT_EQ(fs_.LengthOf(At(name)), 3);
  EXPECT_TRUE(fs_.IsPlainFile(At(name)));
  std::string content;
  EXPECT_TRUE(fs_.ReadWholeFile(At(name), &content));
  EXPECT_EQ(content, "gbk");
  EXPECT_TRUE(fs_.Delete(At(name)));
  EXPECT_TRUE(Listing(fixture_.Root()).empty());
}

TEST_F(Win32FileSystemOnDisk, ALinuxLinkIsNotAPlainFile) {
  UnixCommands unix_commands;
  if (!unix_commands.UnderWine()) GTEST_SKIP() << "Linux links exist only under Wine";
  const std::wstring root = Extended(fixture_.Root());
  fixture_.MakeFolder(At("Pack"));
  fixture_.MakeFile(At("Pack\\A.NPK"), "official");
  fixture_.MakeFile(At("Outside.NPK"), "elsewhere");
  // Deleting any of these under Wine would delete the file it points to.
  struct Case {
    const wchar_t* name;
    std::wstring target;
  };
  for (const Case& c : {Case{L"L.NPK", L"A.NPK"}, Case{L"A.NPK.", L"A.NPK"}, Case{L"A.NPK ", L"A.NPK"},
                        Case{L"a.npk", L"A.NPK"}, Case{L"Out.NPK", unix_commands.UnixPath(root + L"\\Outside.NPK")}}) {
    ASSERT_TRUE(unix_commands.Link(root + L"\\Pack", c.name, c.target)) << "cannot link " << c.name;
  }
  EXPECT_EQ(Listing(At("Pack")), (std::vector<Text>{"A.NPK", "A.NPK ", "A.NPK.", "L.NPK", "Out.NPK", "a.npk"}));
  EXPECT_TRUE(fs_.IsPlainFile(At("Pack\\A.NPK")));
  for (const char* name : {"L.NPK", "A.NPK.", "A.NPK ", "a.npk", "Out.NPK"}) {
    EXPECT_TRUE(fs_.Exists(At("Pack\\" + Text(name)))) << name;
    EXPECT_FALSE(fs_.IsPlainFile(At("Pack\\" + Text(name)))) << name;
  }

  // A linked folder above the file is the folder the user chose: its files
  // are plain, and it is no file of the listing.
  ASSERT_TRUE(unix_commands.Link(root, L"Linked", L"Pack"));
  EXPECT_TRUE(fs_.IsPlainFile(At("Linked\\A.NPK")));
  EXPECT_FALSE(fs_.IsPlainFile(At("Linked\\L.NPK")));
  EXPECT_EQ(Listing(fixture_.Root()), std::vector<Text>{"Outside.NPK"});
  // A backup folder that is the pack folder under another name: the move
  // meets the file itself, which must survive the replacing copy.
  EXPECT_FALSE(fs_.Move(At("Pack\\A.NPK"), At("Linked\\A.NPK")));
  EXPECT_EQ(fixture_.ContentOf(At("Pack\\A.NPK")), "official");
}

TEST_F(Win32FileSystemOnDisk, AFifoIsNeverOpened) {
  UnixCommands unix_commands;
  if (!unix_commands.UnderWine()) GTEST_SKIP() << "a FIFO can be made only under Wine";
  const std::wstring fifo = Extended(At("F.NPK"));
  ASSERT_TRUE(unix_commands.Fifo(fifo));
  // It is there, though its attributes cannot be read: taken for gone, its
  // row would leave the list after a cleanup that left it in place.
  EXPECT_TRUE(fs_.Exists(At("F.NPK")));
  // Opening it for reading would wait for a writer for ever.
  EXPECT_EQ(fs_.OpenForReading(At("F.NPK")), nullptr);
  std::string content = "stale";
  EXPECT_FALSE(fs_.ReadWholeFile(At("F.NPK"), &content));
  EXPECT_EQ(content, "");
  EXPECT_FALSE(fs_.IsPlainFile(At("F.NPK")));
  EXPECT_EQ(fs_.LengthOf(At("F.NPK")), -1);
}

}  // namespace
