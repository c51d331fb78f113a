#include "launchfile/macros.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launchfile/reader.h"
#include "support/real_code_page.h"
#include "support/test_support.h"
#include "util/code_page.h"
#include "util/paths.h"

namespace {

using Tokens = std::vector<std::string>;

const char kOpts[] = "-Xmx64m -Dmode=fast";

// A launcher at C:\Tools\App\run.exe started with -v "my file.txt", and RTHOME naming an existing
// directory with a blank in its name.
class MacroContext : public testing::Test {
 protected:
  void SetUp() override {
    test::makeDirectory(rtHome_);
    facts_.modulePath = "C:\\Tools\\App\\run.exe";
    facts_.commandLine = "\"C:\\Tools\\App\\run.exe\" -v \"my file.txt\"";
    facts_.environment = Environment({CountedString(("RTHOME=" + rtHome_).c_str()),
                                      CountedString("OPTS=") + kOpts, "EMPTYSET=", "Q=a\"b",
                                      "LOOP=%OPTS%", "NOPATH=C:\\Not There\\x", "AB\x95=found"});
  }

  // "{RT}" in an expectation stands for the RTHOME directory.
  std::string fill(std::string text) const {
    for (size_t at; (at = text.find("{RT}")) != std::string::npos;) text.replace(at, 4, rtHome_);
    return text;
  }

  std::string expand(const std::string& token) const {
    return test::toString(expandMacros(test::counted(token), facts_));
  }

  ProcessFacts facts_;
  test::TempDir dir_;
  std::string rtHome_ = dir_ / "Program Files Rt";
};

class MacroTest : public MacroContext {
 protected:
  test::ScopedTextSettings guard_{builtinCodePage(1252), test::windowsStyles()};
};

struct MacroCase {
  std::string token;
  std::string expected;
  Tokens resplit;  // what splitTokens makes of the result
};

const MacroCase kMacroCases[] = {
    {"%RTHOME%", "\"{RT}\"", {"\"{RT}\""}},
    {"%OPTS%", kOpts, {"-Xmx64m", "-Dmode=fast"}},
    {"%EMPTY%", "", {}},
    {"%RTHOME%\\bin\\rt.exe", "\"{RT}\"\\bin\\rt.exe", {"\"{RT}\"\\bin\\rt.exe"}},
    {"-Dopts=%OPTS%", "-Dopts=\"-Xmx64m -Dmode=fast\"", {"-Dopts=\"-Xmx64m -Dmode=fast\""}},
    {"x%EMPTY%y", "x\"\"y", {"x\"\"y"}},
    {"%@lib\\app.jar", "\"C:\\Tools\\App\\\"lib\\app.jar", {"\"C:\\Tools\\App\\\"lib\\app.jar"}},
    {"%@lib\\*.jar", "\"C:\\Tools\\App\\\"lib\\*.jar", {"\"C:\\Tools\\App\\\"lib\\*.jar"}},
    {"%*", "-v \"my file.txt\"", {"-v", "\"my file.txt\""}},
    {"100%%", "100%", {"100%"}},
    {"%%", "%", {"%"}},
    {"%%OPTS%", "%OPTS%", {"%OPTS%"}},
    {"\"%OPTS%\"", "\"%OPTS%\"", {"\"%OPTS%\""}},
    {"50%", "50%", {"50%"}},
    {"a%b", "a%b", {"a%b"}},
    {"%*%", "", {}},
    {"%@%", "", {}},
    {"%OPTS%%", "\"-Xmx64m -Dmode=fast\"%", {"\"-Xmx64m -Dmode=fast\"%"}},
    {"%RTHOME%%OPTS%", "\"{RT}\"\"-Xmx64m -Dmode=fast\"", {"\"{RT}\"\"-Xmx64m -Dmode=fast\""}},
    // Names match without regard to case; an empty value is an unset one.
    {"%rthome%", "\"{RT}\"", {"\"{RT}\""}},
    {"%EMPTYSET%", "", {}},
    {"x%EMPTYSET%y", "x\"\"y", {"x\"\"y"}},
    // A whole-token value that is not an existing path is never quoted, and never rescanned.
    {"%NOPATH%", "C:\\Not There\\x", {"C:\\Not", "There\\x"}},
    {"%Q%", "a\"b", {"a\"b"}},
    {"%LOOP%", "%OPTS%", {"%OPTS%"}},
    {"x%LOOP%", "x\"%OPTS%\"", {"x\"%OPTS%\""}},
    // Only the token's own quotes protect; quotes in an inserted value do not move the flag.
    {"a\"%OPTS%\"b%OPTS%", "a\"%OPTS%\"b\"-Xmx64m -Dmode=fast\"", {"a\"%OPTS%\"b\"-Xmx64m -Dmode=fast\""}},
    {"\"%OPTS%", "\"%OPTS%", {"\"%OPTS%"}},
    {"%Q%x%OPTS%", "\"a\"b\"x\"-Xmx64m -Dmode=fast\"", {"\"a\"b\"x\"-Xmx64m", "-Dmode=fast\""}},
    {"\"%*\"", "\"%*\"", {"\"%*\""}},
    {"a%*b", "a-v \"my file.txt\"b", {"a-v", "\"my file.txt\"b"}},
    // The search for a closing % ignores quotes, and * or @ later in a name are plain bytes.
    {"%a\"b%c", "\"\"c", {"\"\"c"}},
    {"%@x%", "", {}},
    {"%*x%", "", {}},
    {"x%@%", "x\"C:\\Tools\\App\\\"%", {"x\"C:\\Tools\\App\\\"%"}},
    // Unpartnered and doubled signs.
    {"%", "%", {"%"}},
    {"%%%", "%%", {"%%"}},
    {"%%%%", "%%", {"%%"}},
    {"a%b\"c d", "a%b\"c d", {"a%b\"c d"}},
    {"", "", {}},
};

TEST_F(MacroTest, Table) {
  for (const MacroCase& c : kMacroCases) {
    std::string result = expand(c.token);
    EXPECT_EQ(result, fill(c.expected)) << "token: " << c.token;
    Tokens expectedTokens;
    for (const std::string& token : c.resplit) expectedTokens.push_back(fill(token));
    EXPECT_EQ(test::toStrings(splitTokens(CountedString(result.c_str()))), expectedTokens)
        << "token: " << c.token;
  }
}

struct CodePageCase {
  uint32_t codePage;
  std::string token;
  std::string expected;
};

// A lead byte followed by % is one character: that % neither opens nor closes a macro.
const CodePageCase kCodePageCases[] = {
    {932, "%AB\x95%", "%AB\x95%"},
    {1252, "%AB\x95%", "found"},
    {932, "x\x95%OPTS%", "x\x95%OPTS%"},
    {1252, "x\x95%OPTS%", "x\x95\"-Xmx64m -Dmode=fast\""},
    {932, "%OPTS\x95%%", ""},  // a whole-token variable whose name ends in the two-byte character
    {1252, "%OPTS\x95%%", "\"\"%"},
    {932, "%@\x95%", "\"C:\\Tools\\App\\\"\x95%"},
    {1252, "%@\x95%", ""},
    {932, "\x95\"%OPTS%", "\x95\"\"-Xmx64m -Dmode=fast\""},  // that quote is a second byte
    {1252, "\x95\"%OPTS%", "\x95\"%OPTS%"},
    // A lead byte as the last byte has no partner; nothing reads past the end.
    {932, "ab\x95", "ab\x95"},
    {932, "%ab\x95", "%ab\x95"},
    {932, "%\x95", "%\x95"},
    {932, "%%\x95", "%\x95"},
    {932, "\"\x95", "\"\x95"},
    {932, "%OPTS%\x95", "\"-Xmx64m -Dmode=fast\"\x95"},
};

TEST_F(MacroContext, DoubleByteCharacters) {
  for (const CodePageCase& c : kCodePageCases) {
    test::ScopedTextSettings guard(builtinCodePage(c.codePage), test::windowsStyles());
    EXPECT_EQ(expand(c.token), c.expected) << "code page " << c.codePage << ", token: " << c.token;
  }
}

TEST_F(MacroTest, EveryQueryIsMadeAfresh) {
  EXPECT_EQ(expand("%OPTS%"), kOpts);
  EXPECT_EQ(expand("%@"), "\"C:\\Tools\\App\\\"");
  EXPECT_EQ(expand("%*"), "-v \"my file.txt\"");
  facts_.environment = Environment({"OPTS=-server"});
  facts_.modulePath = "D:\\Other\\run.exe";
  facts_.commandLine = "run.exe   ";
  EXPECT_EQ(expand("%OPTS%"), "-server");
  EXPECT_EQ(expand("x%opts%"), "x\"-server\"");
  EXPECT_EQ(expand("%@"), "\"D:\\Other\\\"");
  EXPECT_EQ(expand("%*"), "");
  std::string later = dir_ / "later dir";
  facts_.environment = Environment({CountedString(("LATER=" + later).c_str())});
  EXPECT_EQ(expand("%LATER%"), later);
  test::makeDirectory(later);
  EXPECT_EQ(expand("%LATER%"), "\"" + later + "\"");
}

TEST_F(MacroTest, LongRunsOfPercentSigns) {
  const std::string even(100000, '%');
  EXPECT_EQ(expand(even), std::string(50000, '%'));
  EXPECT_EQ(expand(even + "%"), std::string(50001, '%'));
  std::string pairs;
  std::string expected;
  for (int i = 0; i < 50000; ++i) pairs += "%a";
  for (int i = 0; i < 25000; ++i) expected += "\"\"a";  // %a% is an unset variable, then a
  EXPECT_EQ(expand(pairs), expected);
  test::ScopedTextSettings guard(builtinCodePage(932), test::windowsStyles());
  std::string hidden;
  for (int i = 0; i < 50000; ++i) hidden += "\x95%";
  EXPECT_EQ(expand("%" + hidden), "%" + hidden);
}

class RealCodePageMacros : public MacroContext {};

TEST_F(RealCodePageMacros, LeadBytePercent) {
  if (test::expectedCodePage == 0) GTEST_SKIP() << "run with --expect-code-page=N";
  ASSERT_EQ(activeCodePage().codePage, test::expectedCodePage);
  bool doubleByte = false;
  switch (test::expectedCodePage) {
    case 932: case 936: case 949: case 950: doubleByte = true; break;
    case 1252: doubleByte = false; break;
    default: GTEST_SKIP() << "no expectations for code page " << test::expectedCodePage;
  }
  EXPECT_EQ(expand("x\x95%OPTS%"), doubleByte ? "x\x95%OPTS%" : "x\x95\"-Xmx64m -Dmode=fast\"");
  EXPECT_EQ(expand("%AB\x95%"), doubleByte ? "%AB\x95%" : "found");
}

}  // namespace
