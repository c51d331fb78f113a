#include "util/case_rules.h"
#include "util/code_page.h"

#include <gtest/gtest.h>

#include "support/real_code_page.h"
#include "support/test_support.h"
#include "util/paths.h"

namespace test {
namespace {

TEST(CodePageTest, BuiltinLeadBytes) {
  struct Case {
    uint32_t codePage;
    unsigned char byte;
    int length;
  };
  const Case cases[] = {
      {932, 0x81, 2},  {936, 0x81, 2},  {949, 0x81, 2},  {950, 0x81, 2}, {1361, 0x81, 2},
      {1252, 0x81, 1}, {932, 0xA0, 1},  {936, 0xA0, 2},  {932, 0x9F, 2}, {932, 0xE0, 2},
      {932, 0xFC, 2},  {932, 0xFD, 1},  {1361, 0xD4, 1}, {1361, 0xD8, 2}, {1361, 0xDF, 1},
      {936, 0xFF, 1},  {0, 0x81, 1},
  };
  for (const Case& c : cases) {
    ScopedTextSettings settings(builtinCodePage(c.codePage), test::windowsStyles());
    const char text[] = {static_cast<char>(c.byte), 'x', 0};
    EXPECT_EQ(mbCharLength(text), c.length) << c.codePage << " " << int(c.byte);
  }
}

TEST(CodePageTest, WhitespaceIsExactlySixBytes) {
  for (int b = 0; b < 256; ++b) {
    bool expected = b == 0x20 || (b >= 0x09 && b <= 0x0D);
    EXPECT_EQ(mbIsSpace(static_cast<unsigned char>(b)), expected) << b;
  }
}

TEST(CodePageTest, SearchesStepOverDoubleByteCharacters) {
  struct Case {
    uint32_t codePage;
    std::string text;
    unsigned char c;
    int32_t first, last;
  };
  const std::string path = "D:\\a\\\x95\\";
  const Case cases[] = {
      {932, path, '\\', 2, 4},    {1252, path, '\\', 2, 6}, {932, "\x95:x:", ':', 3, 3},
      {932, "ab\x95", 'a', 0, 0}, {932, "x\x95", 'y', -1, -1},  // lead byte last: no overrun
      {932, "", '\\', -1, -1},
  };
  for (const Case& c : cases) {
    ScopedTextSettings settings(builtinCodePage(c.codePage), test::windowsStyles());
    EXPECT_EQ(mbFindChar(c.text.c_str(), c.c), c.first) << c.codePage << " " << c.text;
    EXPECT_EQ(mbFindLastChar(c.text.c_str(), c.c), c.last) << c.codePage << " " << c.text;
  }
}

TEST(CodePageTest, FindTextMatchesOnlyAtBoundaries) {
  ScopedTextSettings sjis(builtinCodePage(932), test::windowsStyles());
  struct Case {
    const char* text;
    const char* pattern;
    int32_t expected;
  };
  const Case cases[] = {
      {"\x95\\", "\\", -1},   {"\x95\\\\", "\\", 2}, {"abc", "abcd", -1}, {"abcabc", "ca", 2},
      {"ab", "b", 1},         {"", "a", -1},         {"\x95", "\x95", 0}, {"a\x95\\b", "\\b", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(mbFindText(c.text, c.pattern), c.expected) << c.text;
}

TEST(CodePageTest, CompareNoCaseLooksAtNBytes) {
  ScopedTextSettings ascii(builtinCodePage(0), test::windowsStyles());
  EXPECT_TRUE(mbCompareNoCase("path", "PATH", 4));
  EXPECT_TRUE(mbCompareNoCase("PATH", "PATHEXT", 4));
  EXPECT_FALSE(mbCompareNoCase("PATH", "PAT", 4));
  EXPECT_TRUE(mbCompareNoCase("x", "y", 0));
  EXPECT_FALSE(mbCompareNoCase("a_b", "A-B", 3));
  // Where the platform has no comparison of its own, a second byte is never folded as a letter.
  ScopedTextSettings shiftJis(builtinCodePage(932), test::posixStyles());
  if (!onWindows()) {
    EXPECT_FALSE(mbCompareNoCase("X\x83\x61", "x\x83\x41", 3));
  }
  EXPECT_TRUE(mbCompareNoCase("ab\x83\x61", "AB\x83\x61", 4));
}

// With the system's own code page: run under Wine with LC_ALL set and --expect-code-page=N.
class RealCodePageTest : public testing::Test {
 protected:
  void SetUp() override {
    if (expectedCodePage == 0) GTEST_SKIP() << "not started for a particular code page";
  }
  bool doubleByte() const { return expectedCodePage != 1252; }
};

TEST_F(RealCodePageTest, PlatformReportsTheExpectedCodePage) {
  EXPECT_EQ(activeCodePage().codePage, expectedCodePage);
  EXPECT_EQ(activeCodePage().multibyte, doubleByte());
  EXPECT_EQ(mbCharLength("\x81\x40"), doubleByte() ? 2 : 1);
  EXPECT_EQ(mbCharLength("\xA0\x40"), expectedCodePage == 932 || !doubleByte() ? 1 : 2);
}

TEST_F(RealCodePageTest, UpperCaseFollowsTheCodePage) {
  if (expectedCodePage == 932) {
    EXPECT_EQ(toString(toUpper("a\x82\x81z")), "A\x82\x60Z");  // full-width a
  } else if (expectedCodePage == 1252) {
    EXPECT_EQ(toString(toUpper("caf\xe9")), "CAF\xc9");
  }
  EXPECT_EQ(toString(toUpper("tool-1.x")), "TOOL-1.X");
}

TEST_F(RealCodePageTest, PathQueriesIgnoreSecondBytes) {
  CountedString path("C:\\apps\\x\x95\\\\tool.exe");  // a directory whose name ends in 0x95 0x5C
  if (doubleByte()) {
    EXPECT_EQ(toString(directoryOf("C:\\apps\\x\x95\\")), "C:\\apps\\");
    EXPECT_EQ(toString(launchFilePath("C:\\x\x95\\tool")), "C:\\x\x95\\tool.kestrelune");
  } else {
    EXPECT_EQ(toString(directoryOf("C:\\apps\\x\x95\\")), "C:\\apps\\x\x95\\");
  }
  EXPECT_EQ(toString(directoryOf(path)), "C:\\apps\\x\x95\\\\");
  EXPECT_EQ(toString(baseNameOf(path)), "tool");
}

TEST_F(RealCodePageTest, EnvironmentNamesMatchWithoutRegardToCase) {
  EXPECT_TRUE(mbCompareNoCase("path", "PATH", 4));
  EXPECT_FALSE(mbCompareNoCase("path", "PATX", 4));
}

}  // namespace
}  // namespace test
