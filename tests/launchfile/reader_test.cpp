#include "launchfile/reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "support/real_code_page.h"
#include "support/test_support.h"
#include "util/code_page.h"

namespace {

using Tokens = std::vector<std::string>;

std::string translateInBlocks(const std::string& input, const std::vector<size_t>& cuts) {
  ByteBuffer out;
  TextModeTranslator translator(&out);
  size_t start = 0;
  for (size_t i = 0; i <= cuts.size(); ++i) {
    size_t end = i < cuts.size() ? cuts[i] : input.size();
    translator.feed(input.data() + start, static_cast<int32_t>(end - start));
    start = end;
  }
  translator.finish();
  return test::toString(out.toCountedString());
}

Tokens split(const std::string& text) {
  return test::toStrings(splitTokens(CountedString(text.data(), static_cast<int32_t>(text.size()))));
}

struct TranslationCase {
  std::string input;
  std::string expected;
};

const TranslationCase kTranslationCases[] = {
    {"", ""},
    {"a\r\nb", "a\nb"},
    {"a\r\n\r\nb", "a\n\nb"},
    {"a\rb", "a\rb"},                // a lone CR stays
    {"a\r", "a\r"},                  // even as the very last byte
    {"\r\r\n", "\r\n"},              // only the CR next to the LF goes
    {"\n\r", "\n\r"},
    {"ab\x1a" "cd", "ab"},          // Ctrl-Z ends the input
    {"\x1a" "abc", ""},
    {"a\r\x1a\n", "a\r"},           // a CR before Ctrl-Z survives; the LF after it is gone
    {"a\r\n\x1a\r\n", "a\n"},
    {std::string("a\0b\x80\xff", 5), std::string("a\0b\x80\xff", 5)},  // every other byte
};

TEST(ReaderTextMode, SameResultWhereverTheBlocksAreCut) {
  for (const TranslationCase& c : kTranslationCases) {
    SCOPED_TRACE("input: " + c.input);
    EXPECT_EQ(translateInBlocks(c.input, {}), c.expected);
    for (size_t cut = 0; cut <= c.input.size(); ++cut) {
      EXPECT_EQ(translateInBlocks(c.input, {cut}), c.expected) << "cut at " << cut;
    }
    std::vector<size_t> everyByte;
    for (size_t cut = 1; cut < c.input.size(); ++cut) everyByte.push_back(cut);
    EXPECT_EQ(translateInBlocks(c.input, everyByte), c.expected) << "one byte per block";
  }
}

TEST(ReaderTextMode, BlocksAfterCtrlZAreIgnored) {
  ByteBuffer out;
  TextModeTranslator translator(&out);
  EXPECT_TRUE(translator.feed("ab\r", 3));
  EXPECT_FALSE(translator.feed("\x1a" "cd", 3));
  EXPECT_FALSE(translator.feed("ef\r", 3));
  translator.finish();
  EXPECT_EQ(test::toString(out.toCountedString()), "ab\r");
}

struct SplitCase {
  uint32_t codePage;
  std::string text;
  Tokens expected;
};

const SplitCase kSplitCases[] = {
    {1252, "", {}},
    {1252, " \t\r\n\v\f ", {}},
    {1252, "a\"b c\"d", {"a\"b c\"d"}},                  // quotes group and stay
    {1252, "\"\"", {"\"\""}},                             // two quotes are not an empty token
    {1252, "a \"b\n c", {"a", "\"b\n c"}},                // an open quote runs to the end
    {1252, "\"a\" \"b\"", {"\"a\"", "\"b\""}},             // each quote pair closes before the blank
    {1252, "a\xa0" "b \x85", {"a\xa0" "b", "\x85"}},      // no byte above 0x7F is whitespace
    {1252, "a\x1c\x1f" "b", {"a\x1c\x1f" "b"}},
    {1252, std::string("ab cd\0ef gh", 11), {"ab", "cd"}},  // the scan ends at a zero byte
    {1252, "\x95 \x95\"a b\"", {"\x95", "\x95\"a b\""}},
    {932, "\x95 \x95\"a b\"", {"\x95 \x95\"a", "b\""}},  // blank and quote are second bytes here
    {932, "\x81\x40x y", {"\x81\x40x", "y"}},             // the ideographic space is no separator
    {932, "ab \x95", {"ab", "\x95"}},                     // a lead byte at the very end
    {932, "\"\x95", {"\"\x95"}},
    {936, "\xa0 b", {"\xa0 b"}},                           // 0xA0 leads only in 936
    {932, "\xa0 b", {"\xa0", "b"}},
};

TEST(SplitTokens, Table) {
  for (const SplitCase& c : kSplitCases) {
    test::ScopedTextSettings guard(builtinCodePage(c.codePage), test::windowsStyles());
    EXPECT_EQ(split(c.text), c.expected) << "code page " << c.codePage << ", text: " << c.text;
  }
}

TEST(SplitTokens, GarbageGivesWellFormedTokens) {
  std::string garbage;
  for (int round = 0; round < 64; ++round) {
    for (int b = 255; b >= 0; --b) garbage.push_back(static_cast<char>((b * 37 + round * 11) & 0xFF));
  }
  for (uint32_t codePage : {1252u, 932u, 936u, 1361u}) {
    test::ScopedTextSettings guard(builtinCodePage(codePage), test::windowsStyles());
    CountedString text(garbage.data(), static_cast<int32_t>(garbage.size()));
    size_t zero = garbage.find('\0');
    size_t total = 0;
    for (const CountedString& token : splitTokens(text)) {
      ASSERT_GT(token.length(), 0);
      ASSERT_EQ(test::toString(token).find('\0'), std::string::npos);
      total += static_cast<size_t>(token.length());
    }
    EXPECT_LE(total, zero) << "tokens come only from the bytes before the first zero";
  }
}

struct FileCase {
  const char* name;
  std::string bytes;
  Tokens expected;
};

const std::string kBlockFill(static_cast<size_t>(kReadBlockSize) - 1, 'a');

const FileCase kFileCases[] = {
    {"empty", "", {}},
    {"whitespace only", " \t\r\n \r\n", {}},
    {"Ctrl-Z first", "\x1a" "abc", {}},
    {"words and CR LF", "  alpha\tbeta\r\n\r\ngamma  ", {"alpha", "beta", "gamma"}},
    {"no line end", "word", {"word"}},
    {"quoted pair", "\"two words\" x\r\n", {"\"two words\"", "x"}},
    {"quoted CR LF", "\"a\r\nb\" c", {"\"a\nb\"", "c"}},
    {"unbalanced quote", "java -cp x\r\n\"Main arg\r\n", {"java", "-cp", "x", "\"Main arg\n"}},
    {"unbalanced quote, lone CR last", "a \"b\r", {"a", "\"b\r"}},
    {"Ctrl-Z in the middle", "a b\x1a" "c d", {"a", "b"}},
    {"zero byte", std::string("a b\0c d", 7), {"a", "b"}},
    {"byte-order mark", "\xef\xbb\xbf" "java -v", {"\xef\xbb\xbf" "java", "-v"}},
    {"lone CR", "a\rb \"c\rd\"", {"a", "b", "\"c\rd\""}},
    {"CR LF across blocks", "\"" + kBlockFill.substr(1) + "\r\nb\"",
     {"\"" + kBlockFill.substr(1) + "\nb\""}},
    {"CR ending a block", kBlockFill + "\rb", {kBlockFill, "b"}},
    {"CR LF after a full block", kBlockFill + "a\r\nb", {kBlockFill + "a", "b"}},
};

TEST(ReaderFile, Table) {
  test::ScopedTextSettings guard(builtinCodePage(1252), test::windowsStyles());
  test::TempDir dir;
  for (const FileCase& c : kFileCases) {
    SCOPED_TRACE(c.name);
    std::string path = dir / "run.kestrelune";
    test::writeFile(path, c.bytes);
    TokenList tokens{"stale"};
    ASSERT_TRUE(readLaunchFile(CountedString(path.c_str()), &tokens));
    EXPECT_EQ(test::toStrings(tokens), c.expected);
  }
}

TEST(ReaderFile, TextKeepsBytesAfterAZeroAndStopsAtCtrlZ) {
  test::TempDir dir;
  std::string path = dir / "run.kestrelune";
  test::writeFile(path, std::string("a\0b\r\nc\x1a" "d", 8));
  CountedString text;
  ASSERT_TRUE(readLaunchFileText(CountedString(path.c_str()), &text));
  EXPECT_EQ(test::toString(text), std::string("a\0b\nc", 5));
}

TEST(ReaderFile, CannotOpen) {
  test::TempDir dir;
  test::makeDirectory(dir / "app.kestrelune");
  const std::string paths[] = {dir / "app.kestrelune", dir / "missing.kestrelune"};
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    TokenList tokens{"kept"};
    EXPECT_FALSE(readLaunchFile(CountedString(path.c_str()), &tokens));
    EXPECT_EQ(test::toStrings(tokens), Tokens{"kept"});
    CountedString text("kept");
    EXPECT_FALSE(readLaunchFileText(CountedString(path.c_str()), &text));
  }
}

struct RealSplitCase {
  std::string text;
  std::vector<uint32_t> doubleByteIn;  // code pages in which the first byte leads
  Tokens whenDoubleByte;
  Tokens whenSingleByte;
};

TEST(RealCodePageReader, LeadBytesOfTheActiveCodePage) {
  if (test::expectedCodePage == 0) GTEST_SKIP() << "run with --expect-code-page=N";
  ASSERT_EQ(activeCodePage().codePage, test::expectedCodePage);
  const uint32_t known[] = {932, 936, 949, 950, 1252};
  if (std::find(std::begin(known), std::end(known), test::expectedCodePage) == std::end(known)) {
    GTEST_SKIP() << "no expectations for code page " << test::expectedCodePage;
  }
  const RealSplitCase cases[] = {
      {"\x95 x", {932, 936, 949, 950}, {"\x95 x"}, {"\x95", "x"}},
      {"\xa0 x", {936, 949, 950}, {"\xa0 x"}, {"\xa0", "x"}},
      {"\x95\"a b", {932, 936, 949, 950}, {"\x95\"a", "b"}, {"\x95\"a b"}},
  };
  for (const RealSplitCase& c : cases) {
    bool leads = false;
    for (uint32_t codePage : c.doubleByteIn) leads = leads || codePage == test::expectedCodePage;
    EXPECT_EQ(split(c.text), leads ? c.whenDoubleByte : c.whenSingleByte) << c.text;
  }
}

}  // namespace
