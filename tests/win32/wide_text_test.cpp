#include "win32/wide_text.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(WideText, ToolTextsComeThroughUtf8) {
  EXPECT_EQ(WideFromUtf8(u8"补丁清理"), L"\u8865\u4e01\u6e05\u7406");
  EXPECT_EQ(WideFromUtf8(u8""), L"");
}

TEST(WideText, NamesComeThroughTheAnsiCodePage) {
  // Under Wine with C.UTF-8 the ANSI code page is 1252.
  if (GetACP() != 1252) GTEST_SKIP() << "needs the ANSI code page 1252, have " << GetACP();
  struct Case {
    std::string ansi;
    std::wstring wide;
  };
  const Case cases[] = {
      {"", L""},
      {"A.NPK", L"A.NPK"},
      {"caf\xe9.NPK", L"caf\u00e9.NPK"},
      {"\x80 euro", L"\u20ac euro"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WideFromAnsi(c.ansi), c.wide) << c.ansi;
    Text back = "junk";
    EXPECT_TRUE(AnsiFromWide(c.wide, &back));
    EXPECT_EQ(back, c.ansi);
  }
}

TEST(WideText, APathWithoutAnExactAnsiFormIsRefused) {
  if (GetACP() != 1252) GTEST_SKIP() << "needs the ANSI code page 1252, have " << GetACP();
  // Chinese has no form in 1252, and a best-fit "a" for U+0101 would name
  // another file.
  for (const wchar_t* path : {L"C:\\\u6e38\u620f", L"C:\\\u0101.NPK"}) {
    Text ansi = "junk";
    EXPECT_FALSE(AnsiFromWide(path, &ansi));
    EXPECT_TRUE(ansi.empty());
  }
}

}  // namespace
