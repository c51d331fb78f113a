#include "platform/output_tail.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace test {
namespace {

// In code page 932 "\x81\x5C" is one character whose second byte is a backslash.
TEST(OutputTailTest, LastLinesStartAtALineStartWithinTheLimit) {
  struct Case {
    std::string captured;
    bool cut;
    int32_t limit;
    std::string expected;
  };
  const Case cases[] = {
      {"one\r\ntwo\r\n\r\n", false, 100, "one\r\ntwo"},
      {"first line\nsecond\nthird\n", false, 12, "second\nthird"},
      {"\x81\x5C\x81\x5C\nab", false, 5, "\x81\x5C\x81\x5C\nab"},  // 5 characters in 7 bytes
      {"\x81\x5C\x81\x5C\nab", false, 4, "ab"},
      {"\x5C\x81\x5C\nnext\n", true, 100, "next"},  // cut inside a character: its line goes
      {"\x81\nline2\nline3", true, 100, "line2\nline3"},  // an orphan second byte like a lead
      {"no line feed", true, 100, ""},
      {"x\n\x81\x5C\x81\x5C\x81\x5C", false, 2, "\x81\x5C\x81\x5C"},  // one line too long
      {" \r\n\t\n", false, 100, ""},
  };
  ScopedTextSettings settings(builtinCodePage(932), windowsStyles());
  for (const Case& c : cases) {
    EXPECT_EQ(toString(lastLines(counted(c.captured), c.cut, c.limit)), c.expected)
        << c.captured << " / " << c.limit;
  }
}

TEST(OutputTailTest, KeepsTheLastBytesAndSaysWhenSomeWereDropped) {
  OutputTail tail;
  const std::string full(OutputTail::kCapacity - 1, 'a');
  tail.append(full.data(), static_cast<int32_t>(full.size()));
  tail.append("b", 1);
  EXPECT_FALSE(tail.cut());
  tail.append("cd", 2);
  EXPECT_TRUE(tail.cut());
  EXPECT_EQ(toString(tail.text()), full.substr(2) + "bcd");
  const std::string more(OutputTail::kCapacity + 5, 'z');
  tail.append(more.data(), static_cast<int32_t>(more.size()));
  EXPECT_EQ(toString(tail.text()), more.substr(5));
}

}  // namespace
}  // namespace test
