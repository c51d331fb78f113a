#include "launchfile/path_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

using Strings = std::vector<std::string>;

// Rows are written with ";" and run in both styles, ":" standing in for it in the POSIX one.
std::string inStyle(std::string row, const test::Styles& style) {
  for (char& c : row) {
    if (c == ';') c = style.path.listSeparator;
  }
  return row;
}

const test::Styles kStyles[] = {test::windowsStyles(), test::posixStyles()};

struct SplitCase {
  const char* token;
  Strings pieces;
  bool hadSeparator;
};

TEST(PathListTest, SplitsOutsideQuotesInBothStyles) {
  const SplitCase cases[] = {
      {"", {}, false},
      {"lib\\*.jar", {"lib\\*.jar"}, false},
      {"a;b", {"a", "b"}, true},
      {";a;;b;", {"a", "b"}, true},
      {";;", {}, true},
      {"\"a;b\"", {"\"a;b\""}, false},
      {"a;\"b;c", {"a", "\"b;c"}, true},
      {"\"x\";\"\"", {"\"x\"", "\"\""}, true},
  };
  for (const test::Styles& style : kStyles) {
    test::ScopedTextSettings guard(builtinCodePage(1252), style);
    for (const SplitCase& c : cases) {
      bool hadSeparator = !c.hadSeparator;
      Strings expected;
      for (const std::string& piece : c.pieces) expected.push_back(inStyle(piece, style));
      EXPECT_EQ(test::toStrings(splitPathList(test::counted(inStyle(c.token, style)), &hadSeparator)),
                expected) << style.path.listSeparator << " " << c.token;
      EXPECT_EQ(hadSeparator, c.hadSeparator) << style.path.listSeparator << " " << c.token;
    }
  }
}

TEST(PathListTest, OnlyTheStylesSeparatorSplits) {
  bool hadSeparator = false;
  test::ScopedTextSettings guard(builtinCodePage(1252), test::windowsStyles());
  EXPECT_EQ(test::toStrings(splitPathList("C:\\a;b:c", &hadSeparator)), (Strings{"C:\\a", "b:c"}));
  test::setStyles(test::posixStyles());
  EXPECT_EQ(test::toStrings(splitPathList("/a:b;c", &hadSeparator)), (Strings{"/a", "b;c"}));
}

TEST(PathListTest, SecondBytesAreNeverSeparatorsQuotesOrWildcards) {
  // Johab second bytes include ";", ":" and "?"; a final lone lead byte must not overrun.
  test::ScopedTextSettings guard(builtinCodePage(1361), test::windowsStyles());
  bool flag = false;
  EXPECT_EQ(test::toStrings(splitPathList("a\x84;b;c;\x84", &flag)),
            (Strings{"a\x84;b", "c", "\x84"}));
  EXPECT_EQ(test::toString(unquotePathElement("\x84?x", &flag)), "\x84?x");
  EXPECT_FALSE(flag);
  EXPECT_EQ(test::toString(unquotePathElement("\x84\"*", &flag)), "\x84\"*");
  EXPECT_TRUE(flag);
  test::setStyles(test::posixStyles());
  EXPECT_EQ(test::toStrings(splitPathList("\x84:\x84", &flag)), (Strings{"\x84:\x84"}));
  EXPECT_FALSE(flag);
}

struct UnquoteCase {
  const char* piece;
  const char* element;
  bool hasWildcard;
};

TEST(PathListTest, UnquotesElements) {
  const UnquoteCase cases[] = {
      {"lib\\*.jar", "lib\\*.jar", true},
      {"\"lib\\*.jar\"", "lib\\*.jar", false},
      {"\"C:\\My Apps\\\"*.jar", "C:\\My Apps\\*.jar", true},
      {"-Dname=\"a b\"", "-Dname=a b", false},
      {"\"\"", "", false},
      {"a\"b?", "ab?", false},  // after an unpaired quote the rest is quoted
      {"a?b", "a?b", true},
      {"\"a\"?", "a?", true},
  };
  for (const UnquoteCase& c : cases) {
    bool hasWildcard = !c.hasWildcard;
    EXPECT_EQ(test::toString(unquotePathElement(c.piece, &hasWildcard)), c.element) << c.piece;
    EXPECT_EQ(hasWildcard, c.hasWildcard) << c.piece;
  }
}

// POSIX changes a token only where a pattern matched, as a shell does: without one it stands.
TEST(PathListTest, ExpandsWithoutWildcardsInBothStyles) {
  struct Case {
    const char* token;
    const char* windows;
  };
  const Case cases[] = {
      {"", ""},
      {"-Xmx64m", "\"-Xmx64m\""},
      {";lib\\a.jar;;classes;", "\"lib\\a.jar;classes\""},
      {"\"lib\\*.jar\"", "\"lib\\*.jar\""},
      {";", "\"\""},
      {"\"\"", "\"\""},
      {"-Dname=\"a b\"", "\"-Dname=a b\""},
      {"a;\"b;c", "\"a;b;c\""},
      {"a;\"\";b", "\"a;;b\""},
      {"\"\";a", "\";a\""},
      {"-Ddemo.prop=[;;1];8080", "\"-Ddemo.prop=[;1];8080\""},
  };
  for (const test::Styles& style : kStyles) {
    test::ScopedTextSettings guard(builtinCodePage(1252), style);
    for (const Case& c : cases) {
      std::string expected = style.run.keepsUnmatchedPatterns ? c.token : c.windows;
      EXPECT_EQ(test::toString(expandPathList(test::counted(inStyle(c.token, style)))),
                inStyle(expected, style)) << style.path.listSeparator << " " << c.token;
    }
  }
}

TEST(PathListTest, PatternDirectory) {
  const std::pair<const char*, const char*> windows[] = {
      {"lib\\*.jar", "lib\\"}, {"*.jar", ""},           {"C:*.txt", "C:"},
      {"lib/*.jar", "lib/"},   {"C:lib/*.txt", "C:lib/"}, {"a/b\\*", "a/b\\"},
      {"a\\b/*", "a\\b/"},     {"d\x95\x5C*", ""},      {"d\\\x95\x5C*", "d\\"},
  };
  const std::pair<const char*, const char*> posix[] = {
      {"lib/*.jar", "lib/"}, {"lib\\*.jar", ""}, {"C:*.txt", ""}, {"/*", "/"},
  };
  {
    test::ScopedTextSettings guard(builtinCodePage(932), test::windowsStyles());
    for (const auto& c : windows) {
      EXPECT_EQ(test::toString(patternDirectory(c.first)), c.second) << c.first;
    }
  }
  test::ScopedTextSettings guard(builtinCodePage(932), test::posixStyles());
  for (const auto& c : posix) {
    EXPECT_EQ(test::toString(patternDirectory(c.first)), c.second) << c.first;
  }
}

// Patterns against a real directory, in the style of the platform the tests run on.
TEST(PathListTest, ExpandsPatternsAgainstTheFileSystem) {
  test::TempDir root;
  const std::string lib = root / "lib";
  test::makeDirectory(lib);
  test::writeFile(test::join(lib, "a.jar"), "");
  test::writeFile(test::join(lib, "b.jar"), "");
  test::makeDirectory(test::join(lib, "ext"));
  test::makeDirectory(test::join(lib, ".cache"));
  test::makeDirectory(root / "My Apps");
  test::writeFile(test::join(root / "My Apps", "x.jar"), "");

  const std::string sep = test::separator();
  const std::string list(1, pathStyle().listSeparator);
  const std::string l = lib + sep;  // every match keeps the pattern's directory
  const std::string missing = root / "missing" + sep + "*.jar";
  struct Case {
    std::string token;
    std::string windows;
    std::string posix;  // where it differs: a pattern that matches nothing stays as written
  };
  const std::string same = "\x01";
  const Case cases[] = {
      {l + "*.jar", "\"" + l + "a.jar\" \"" + l + "b.jar\"", same},
      {l + "*", "\"" + l + "a.jar\" \"" + l + "b.jar\" \"" + l + "ext\"", same},
      {l + "?.jar" + list + "classes", "\"" + l + "a.jar" + list + l + "b.jar" + list + "classes\"",
       same},
      {"\"" + root.path() + sep + "My Apps" + sep + "\"*.jar",
       "\"" + root.path() + sep + "My Apps" + sep + "x.jar\"", same},
      {l + "\"*\".jar", "\"" + l + "*.jar\"", l + "\"*\".jar"},
      {l + ".c*", "", l + ".c*"},  // only hidden names match: that is no match
      {missing, "", missing},
      {missing + list + "classes", "\"classes\"", missing + list + "classes"},
      {list + missing, "\"\"", list + missing},
      {list + l + "*.jar" + list + list + "conf",
       "\"" + l + "a.jar" + list + l + "b.jar" + list + "conf\"",
       "\"" + list + l + "a.jar" + list + l + "b.jar" + list + list + "conf\""},
      {lib + "/*.jar", "\"" + lib + "/a.jar\" \"" + lib + "/b.jar\"", same},
  };
  for (const Case& c : cases) {
    const std::string& expected =
        runConventions().keepsUnmatchedPatterns && c.posix != same ? c.posix : c.windows;
    EXPECT_EQ(test::toString(expandPathList(test::counted(c.token))), expected) << c.token;
  }
}

}  // namespace
