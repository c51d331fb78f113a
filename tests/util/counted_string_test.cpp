#include "util/counted_string.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "util/byte_buffer.h"
#include "util/case_rules.h"
#include "util/code_page.h"
#include "util/token_list.h"

namespace test {
namespace {

TEST(CountedStringTest, ConstructionKeepsExactBytes) {
  EXPECT_EQ(CountedString().length(), 0);
  EXPECT_EQ(CountedString().data()[0], '\0');
  EXPECT_EQ(CountedString("ab\0cd").length(), 2);  // text stops at its first zero byte
  CountedString counted("ab\0cd", 5);              // a count keeps zero bytes
  EXPECT_EQ(toString(counted), std::string("ab\0cd", 5));
  EXPECT_EQ(counted.data()[5], '\0');
  EXPECT_EQ(CountedString(nullptr, 0).length(), 0);

  CountedString moved = std::move(counted);
  EXPECT_EQ(moved.length(), 5);
  EXPECT_EQ(counted.length(), 0);  // NOLINT: a moved-from string is empty, never null
  EXPECT_NE(counted.data(), nullptr);
  CountedString copy = moved;
  EXPECT_NE(copy.data(), moved.data());
  EXPECT_EQ(copy, moved);
}

TEST(CountedStringTest, ConcatenationAndSubstring) {
  CountedString abc("abc");
  EXPECT_EQ(toString(abc + CountedString()), "abc");
  EXPECT_EQ(toString(CountedString() + abc), "abc");
  EXPECT_EQ(toString("x" + abc + "y"), "xabcy");
  EXPECT_EQ(toString(counted(std::string("a\0", 2)) + counted(std::string("\0b", 2))),
            std::string("a\0\0b", 4));
  for (int32_t k = 0; k <= abc.length(); ++k) EXPECT_TRUE(abc.substring(k, k).empty()) << k;
  EXPECT_EQ(abc.substring(0, 3), abc);
  EXPECT_EQ(toString(abc.substring(1, 2)), "b");
}

TEST(CountedStringTest, SearchesCountFromTheStartAndSkipSecondBytes) {
  ScopedTextSettings sjis(builtinCodePage(932), test::windowsStyles());
  struct Case {
    std::string text;
    char c;
    int32_t from;
    int32_t expected;
  };
  const Case cases[] = {
      {"%PATH%", '%', 0, 0},  {"%PATH%", '%', 1, 5},   {"%PATH%", '%', 6, -1}, {"", '%', 0, -1},
      {"\x95\x5c\x5c", '\\', 0, 2},                    // the first 0x5C is a second byte
      {"a\x95%b%", '%', 0, 4},                         // so is this percent sign
      {"ab\x95", 'x', 0, -1},                          // a lead byte at the end stops the search
  };
  for (const Case& c : cases) {
    EXPECT_EQ(counted(c.text).findChar(c.c, c.from), c.expected) << c.text << " from " << c.from;
    EXPECT_EQ(counted(c.text).find(CountedString(std::string(1, c.c).c_str()), c.from), c.expected)
        << c.text << " from " << c.from;
  }
  EXPECT_EQ(CountedString("aXbXc").find("Xc"), 3);
  EXPECT_EQ(CountedString("ab").find("abc"), -1);
}

TEST(CountedStringTest, ReplaceAllScansTheSourceOnceWithoutOverlap) {
  struct Case {
    const char* source;
    const char* pattern;
    const char* replacement;
    const char* expected;
  };
  const Case cases[] = {
      {"a\"b\"c", "\"", "", "abc"}, {"\"\"\"", "\"", "", ""}, {"plain", "\"", "", "plain"},
      {"aaa", "aa", "b", "ba"},     {"axb", "x", "xx", "axxb"}, {"", "x", "y", ""},
      {"xx", "x", "", ""},          {"abc", "", "z", "abc"},  // an empty pattern changes nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toString(CountedString(c.source).replaceAll(c.pattern, c.replacement)), c.expected)
        << c.source << " / " << c.pattern;
  }
  ScopedTextSettings sjis(builtinCodePage(932), test::windowsStyles());
  EXPECT_EQ(toString(counted("\x95\"a\"").replaceAll("\"", "")), "\x95\"a");  // 0x22 as second byte
}

TEST(CountedStringTest, ToUpperUsesTheCodePageCaseMap) {
  ScopedTextSettings ascii(builtinCodePage(0), test::windowsStyles());
  EXPECT_EQ(toString(toUpper("abc-09_Z")), "ABC-09_Z");
  EXPECT_EQ(toString(toUpper(counted(std::string("a\0b", 3)))), std::string("A\0b", 3));
  ScopedTextSettings sjis(builtinCodePage(932), test::windowsStyles());
  char malformed[] = "ab\x95";
  EXPECT_FALSE(mbToUpper(malformed));  // a lead byte without its second byte is reported
  EXPECT_STREQ(malformed, "AB\x95");
  ActiveCodePage latin = builtinCodePage(1252);
  latin.byteClasses[0xE9] |= kLowerCase;
  latin.caseMap[0xE9] = 0xC9;
  setActiveCodePage(latin);
  EXPECT_EQ(toString(toUpper(counted("caf\xe9"))), "CAF\xc9");
}

TEST(ByteBufferTest, CollectsBytesInOrder) {
  ByteBuffer buffer;
  EXPECT_TRUE(buffer.toCountedString().empty());
  buffer.appendString(CountedString());
  EXPECT_EQ(buffer.size(), 0u);
  buffer.appendByte('a');
  buffer.appendByte('\0');
  buffer.appendString("bc");
  EXPECT_EQ(toString(buffer.toCountedString()), std::string("a\0bc", 4));
  EXPECT_EQ(buffer.size(), 4u);  // unchanged by toCountedString
}

TEST(TokenListTest, AppendAllKeepsOrderAndSource) {
  TokenList list{"a"};
  TokenList other{"b", "c"};
  list.appendAll(TokenList());
  list.appendAll(other);
  EXPECT_EQ(toStrings(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(other.size(), 2u);
  list.appendAll(std::move(other));
  EXPECT_EQ(toStrings(list), (std::vector<std::string>{"a", "b", "c", "b", "c"}));
  list.clear();
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace test
