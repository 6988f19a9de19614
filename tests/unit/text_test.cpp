#include "text/text.h"

#include <gtest/gtest.h>

#include "shell/tool.h"

TEST(Text, JoinPathAlwaysInsertsOneSeparator) {
  EXPECT_EQ(JoinPath("C:\\Game", "ImagePacks2"), "C:\\Game\\ImagePacks2");
  EXPECT_EQ(JoinPath("C:\\", "package.lst"), "C:\\\\package.lst");
  EXPECT_EQ(JoinPath("", "A.NPK"), "\\A.NPK");
}

TEST(Text, HexTextIsUpperCaseTwoDigitsPerByte) {
  EXPECT_EQ(HexText(std::string("\x00\x0F\xA0", 3)), "000FA0");
  EXPECT_EQ(HexText(std::string("\x0A\xFF", 2)), "0AFF");
  EXPECT_EQ(HexText(""), "");
}

TEST(Text, FindSteppingStepsOverDoubleByteCharacters) {
  // 0x81 0x5B is one double-byte character: its trail byte is not a "[".
  const std::string text = "a\x81[b[c";
  EXPECT_EQ(FindStepping(text, "["), 4u);
  EXPECT_EQ(FindStepping(text, "b[", 0), 3u);
  EXPECT_EQ(FindStepping("abc", "x"), std::string::npos);
  EXPECT_EQ(FindStepping("ab", "abc"), std::string::npos);
  // A lead byte at the very end takes no partner and matches nothing.
  EXPECT_EQ(FindStepping("ab\x81", "["), std::string::npos);
}

TEST(Text, EqualsIgnoringCaseOnlyFoldsAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoringCase("00ffA0", "00FFa0"));
  EXPECT_FALSE(EqualsIgnoringCase("00FF", "00FF0"));
  EXPECT_FALSE(EqualsIgnoringCase("\xC1", "\xE1"));
}

TEST(ProgramFolder, IsThePathUpToTheLastSeparator) {
  EXPECT_EQ(ProgramFolderOf("C:\\Games\\Tool\\OrvaneCleaner.exe"), "C:\\Games\\Tool");
  EXPECT_EQ(ProgramFolderOf("C:\\OrvaneCleaner.exe"), "C:");
  // 0x95 0x5C is one GBK character whose trail byte is the separator's byte.
  EXPECT_EQ(ProgramFolderOf("C:\\\x95\\\\x.exe"), "C:\\\x95\\");
  EXPECT_EQ(ProgramFolderOf("C:\\\x95\\x.exe"), "C:");
}
