#include "launchfile/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "util/argument_split.h"

namespace {

using Strings = std::vector<std::string>;

TokenList tokenList(const Strings& tokens) {
  TokenList list;
  for (const std::string& token : tokens) {
    list.append(CountedString(token.data(), static_cast<int32_t>(token.size())));
  }
  return list;
}

std::string assemble(const Strings& tokens) {
  return test::toString(assembleCommandLine(tokenList(tokens)));
}

struct AssemblyCase {
  Strings tokens;
  const char* windows;
  const char* posix;
};

TEST(CommandLineTest, AssemblesInBothStyles) {
  const AssemblyCase cases[] = {
      {{}, "", ""},
      {{"java"}, "java", "java"},
      {{"java", "-jar", "\"C:\\My Apps\\x.jar\""}, "java -jar \"C:\\My Apps\\x.jar\"",
       "java -jar \"C:\\My Apps\\x.jar\""},
      {{"a\"b\"c"}, "abc", "abc"},
      {{"-Dx=\"a b\""}, "\"-Dx=a b\"", "\"-Dx=a b\""},
      {{"C:\\My\" \"Apps"}, "\"C:\\My Apps\"", "\"C:\\My Apps\""},
      // Enclosed: the Windows style doubles the backslashes that end the token.
      {{"\"C:\\My Apps\\\""}, "\"C:\\My Apps\\\\\"", "\"C:\\My Apps\\\""},
      {{"a b\\\\\\"}, "\"a b\\\\\\\\\\\\\"", "\"a b\\\\\\\""},
      {{"a\\b c"}, "\"a\\b c\"", "\"a\\b c\""},  // only the final run doubles
      {{"\"C:\\Apps\\\""}, "C:\\Apps\\", "C:\\Apps\\"},  // not enclosed: left alone
      {{"a", "\"\"", "b"}, "a  b", "a  b"},
      {{"\"\"", "b"}, " b", " b"},
      {{"a", ""}, "a ", "a "},
      {{"\"\""}, "", ""},
      {{"\" \""}, "\" \"", "\" \""},
      {{"a\tb"}, "\"a\tb\"", "\"a\tb\""},
      {{"a\nb"}, "a\nb", "a\nb"},
  };
  for (const AssemblyCase& c : cases) {
    const std::string input = ::testing::PrintToString(c.tokens);
    {
      test::ScopedTextSettings guard(builtinCodePage(1252), test::windowsStyles());
      EXPECT_EQ(assemble(c.tokens), c.windows) << "windows " << input;
    }
    test::ScopedTextSettings guard(builtinCodePage(1252), test::posixStyles());
    EXPECT_EQ(assemble(c.tokens), c.posix) << "posix " << input;
  }
}

TEST(CommandLineTest, SecondByteIsNoTrailingBackslash) {
  const Strings tokens = {"a \x95\x5C"};
  {
    test::ScopedTextSettings guard(builtinCodePage(932), test::windowsStyles());
    EXPECT_EQ(assemble(tokens), "\"a \x95\x5C\"");
    EXPECT_EQ(assemble({"a \x95\x5C\\"}), "\"a \x95\x5C\\\\\"");
  }
  test::ScopedTextSettings guard(builtinCodePage(1252), test::windowsStyles());
  EXPECT_EQ(assemble(tokens), "\"a \x95\x5C\x5C\"");
}

// The tokens a child sees: quotes gone, empty tokens gone (they leave only blanks behind).
Strings expectedArguments(const Strings& tokens) {
  Strings arguments;
  for (std::string token : tokens) {
    token.erase(std::remove(token.begin(), token.end(), '"'), token.end());
    if (!token.empty()) arguments.push_back(token);
  }
  return arguments;
}

TEST(CommandLineTest, RoundTripsThroughTheChildsSplitter) {
  const Strings cases[] = {
      {"java", "-cp", "C:\\My Apps\\lib\\a.jar;classes", "Main"},
      {"-Dhome=C:\\Program Files\\App\\", "next", "last"},
      {"a b\\\\", "\\\\", "c\\"},
      {"a\\\"b c\"", "x\\\"y", "\\\"z w\\\""},
      {"tab\there", "", "a  b", ""},
      {"", "\"\"", "x"},
      {"\x95\x5C \x95\x5C", "\x95\x5C", "\x95\x5C\\ q\\"},
  };
  struct Reader {
    uint32_t codePage;
    test::Styles style;
    TokenList (*split)(const CountedString&);
  };
  const Reader readers[] = {{932, test::windowsStyles(), splitWindowsArguments},
                            {1252, test::windowsStyles(), splitWindowsArguments},
                            {932, test::posixStyles(), splitLauncherArguments}};
  for (const Reader& reader : readers) {
    test::ScopedTextSettings guard(builtinCodePage(reader.codePage), reader.style);
    for (const Strings& tokens : cases) {
      TokenList back = reader.split(assembleCommandLine(tokenList(tokens)));
      EXPECT_EQ(test::toStrings(back), expectedArguments(tokens))
          << reader.codePage << " " << reader.style.path.listSeparator << " "
          << ::testing::PrintToString(tokens);
    }
  }
}

// One form gives the line and, where arguments pass exactly, the vector: a slot with no arguments
// leaves no blank, text keeps its own, and the vector takes the user's arguments untouched.
TEST(CommandLineTest, TheLineAndTheVectorComeFromOneForm) {
  const CountedString slot("", 1);  // the arguments slot
  const auto token = [](const char* text) { return CommandPiece{PieceKind::kToken, text, {}}; };
  struct Case {
    CommandForm form;
    Strings arguments;
    const char* line;
    Strings vector;
  };
  const Case cases[] = {
      {launchFileForm(tokenList({"java", "\"a b\""}), nullptr, ProcessFacts()), {}, "java \"a b\"",
       {"java", "a b"}},
      {{token("java"), {PieceKind::kArguments, "", {}}, token("x")}, {}, "java x", {"java", "x"}},
      {{{PieceKind::kGlued, "java  -jar \"a.jar\" ", {}}, {PieceKind::kArguments, "", {}}}, {},
       "java  -jar \"a.jar\" ", {"java", "-jar", "a.jar"}},
      {{{PieceKind::kGlued, "java -jar \"a.jar\" ", {}}, {PieceKind::kArguments, "\"\" *", {}}},
       {"", "*"}, "java -jar \"a.jar\" \"\" *", {"java", "-jar", "a.jar", "", "*"}},
  };
  test::ScopedTextSettings guard(builtinCodePage(1252), test::posixStyles());
  for (const Case& c : cases) {
    ProcessFacts facts;
    facts.arguments = tokenList(c.arguments);
    CommandRequest command = commandOf(c.form, facts);
    EXPECT_EQ(test::toString(command.line), c.line);
    EXPECT_EQ(test::toStrings(command.arguments), c.vector) << c.line;
  }
  // A launch file's slot shows the arguments as tokens of their own.
  ProcessFacts facts;
  facts.arguments = tokenList({"a b", "c"});
  CommandRequest command = commandOf(launchFileForm(TokenList{"x", slot}, nullptr, facts), facts);
  EXPECT_EQ(test::toString(command.line), "x \"a b\" c");
  EXPECT_EQ(test::toStrings(command.arguments), (Strings{"x", "a b", "c"}));
}

}  // namespace
