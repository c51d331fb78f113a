#include "launchfile/arguments_tail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "util/code_page.h"

namespace test {
namespace {

struct PathCase {
  const char* input;
  const char* expected;
};

TEST(CommandLineTailTest, SkipsTheProgramName) {
  ScopedTextSettings sjis(builtinCodePage(932), test::windowsStyles());
  const PathCase cases[] = {
      {"\"C:\\My Apps\\tool.exe\" -a \"b c\"", "-a \"b c\""},
      {"tool.exe", ""},
      {"tool.exe \t ", ""},
      {"tool.exe  a  b  ", "a  b  "},
      {"\"tool\"b c", "c"},                   // bytes glued to the closing quote are the name's
      {"to\"ol x\" y", "y"},                  // quotes group anywhere in the name
      {"\"never closed x y", ""},
      {"\x95 tool.exe x", "x"},               // 0x95 0x20 is one character of the name
      {"tool.exe\x0b\x0c" "a", "a"},
  };
  for (const PathCase& c : cases) {
    ProcessFacts facts;
    facts.commandLine = c.input;
    EXPECT_EQ(toString(argumentsTail(facts).text), c.expected) << c.input;
  }
}

// A character the code page could not represent arrives as "?": outside quotes a run of them is
// enclosed, so that %* never makes a wildcard of it; "^" marks the replaced bytes here.
TEST(CommandLineTailTest, ReplacedCharactersAreShieldedOutsideQuotes) {
  struct Case {
    const char* line;
    const char* marks;
    const char* shielded;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"t ?? x", "  ^^  ", "\"??\" x", {"??"}},
      {"t a?b \"c ?\" ?", "   ^     ^  ^", "a\"?\"b \"c ?\" \"?\"", {"a?b", "\"c ?\"", "?"}},
      {"t x?\" y", "   ^   ", "x\"?\"\" y", {"x?\" y"}},  // a quote after it still toggles
      {"t a? b", "      ", "a? b", {}},                // a real "?" stays a wildcard
  };
  ScopedTextSettings ascii(builtinCodePage(1252), test::windowsStyles());
  for (const Case& c : cases) {
    std::string marks = c.marks;
    for (char& mark : marks) mark = mark == '^' ? 1 : 0;
    ProcessFacts facts;
    facts.commandLine = c.line;
    facts.replacedCharacters = counted(marks);
    ArgumentsTail tail = argumentsTail(facts);
    EXPECT_EQ(toString(tail.text), std::string(c.line).substr(2)) << c.line;
    EXPECT_EQ(toString(shieldedText(tail)), c.shielded) << c.line;
    EXPECT_EQ(toStrings(unrepresentedArguments(tail)), c.words) << c.line;
  }
}

}  // namespace
}  // namespace test
