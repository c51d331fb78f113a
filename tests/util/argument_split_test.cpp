#include "util/argument_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

using Strings = std::vector<std::string>;

struct SplitCase {
  const char* line;
  Strings arguments;
};

TEST(ArgumentSplitTest, WindowsRuntimeRule) {
  const SplitCase cases[] = {
      {"", {}},
      {" \t ", {}},
      {"a b\tc  ", {"a", "b", "c"}},
      {"a\nb\x0b" "c", {"a\nb\x0b" "c"}},  // only blank and tab separate
      {"\"a b\" c", {"a b", "c"}},
      {"\"\"", {""}},
      {"a \"\" b", {"a", "", "b"}},
      {"a\"b c\"d", {"ab cd"}},
      {"a\\b\\\\c\\", {"a\\b\\\\c\\"}},      // backslashes before no quote are literal
      {"a\\\"b", {"a\"b"}},                    // 1 -> 0 and a literal quote
      {"a\\\\\"b c\"", {"a\\b c"}},            // 2 -> 1 and the quote groups
      {"a\\\\\\\"b", {"a\\\"b"}},              // 3 -> 1 and a literal quote
      {"\"C:\\My Apps\\\\\" x", {"C:\\My Apps\\", "x"}},
      {"\"C:\\My Apps\\\" x", {"C:\\My Apps\" x"}},  // an escaped closing quote swallows the rest
      {"\"a\"\"b c\"", {"a\"b c"}},             // "" inside quotes: a quote, still quoted
      {"\"\"\"a b\"\"\" c", {"\"a b\"", "c"}},
      {"\"open a b", {"open a b"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(test::toStrings(splitWindowsArguments(c.line)), c.arguments) << c.line;
  }
}

TEST(ArgumentSplitTest, WindowsRuleStepsOverDoubleByteCharacters) {
  // In 932 the 0x5C after 0x95 is a second byte, not a backslash escaping the quote.
  const std::string line = "\"a \x95\x5C\" b";
  {
    test::ScopedTextSettings guard(builtinCodePage(932), test::windowsStyles());
    EXPECT_EQ(test::toStrings(splitWindowsArguments(line.c_str())), (Strings{"a \x95\x5C", "b"}));
  }
  test::ScopedTextSettings guard(builtinCodePage(1252), test::windowsStyles());
  EXPECT_EQ(test::toStrings(splitWindowsArguments(line.c_str())), (Strings{"a \x95\" b"}));
}

TEST(ArgumentSplitTest, LauncherRule) {
  const SplitCase cases[] = {
      {"", {}},
      {"  a \t b  ", {"a", "b"}},
      {"\"\"", {""}},
      {"a \"\" b", {"a", "", "b"}},
      {"\"a b\\\" c", {"a b\\", "c"}},  // backslashes are literal
      {"a\"b c\"d", {"ab cd"}},
      {"\"open a b", {"open a b"}},
      {"$HOME;*|&", {"$HOME;*|&"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(test::toStrings(splitLauncherArguments(c.line)), c.arguments) << c.line;
  }
}

}  // namespace
