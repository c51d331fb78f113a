#include "util/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_queries.h"
#include "support/test_support.h"
#include "util/code_page.h"
#include "util/environment.h"

namespace test {
namespace {

struct PathCase {
  const char* input;
  const char* expected;
};

class PathsTest : public testing::Test {
 protected:
  ScopedTextSettings windows{builtinCodePage(0), test::windowsStyles()};
};

TEST_F(PathsTest, LaunchFilePath) {
  const PathCase cases[] = {
      {"C:\\Apps\\tool.exe", "C:\\Apps\\tool.kestrelune"},
      {"C:\\Apps\\my.tool.exe", "C:\\Apps\\my.tool.kestrelune"},
      {"C:\\my.apps\\tool", "C:\\my.apps\\tool.kestrelune"},
      {"tool.exe", "tool.exe.kestrelune"},
      {"C:\\Apps\\tool.", "C:\\Apps\\tool.kestrelune"},
      {"", ".kestrelune"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(toString(launchFilePath(c.input)), c.expected) << c.input;
}

TEST_F(PathsTest, DirectoryOf) {
  const PathCase cases[] = {
      {"C:\\Apps\\tool.exe", "C:\\Apps\\"}, {"C:tool.exe", "C:"}, {"tool.exe", ""},
      {"a\\b:c", "a\\"},                    {"a/b/c", ""},         {"", ""},
  };
  for (const PathCase& c : cases) EXPECT_EQ(toString(directoryOf(c.input)), c.expected) << c.input;
}

TEST_F(PathsTest, BaseNameOf) {
  const PathCase cases[] = {
      {"C:\\Apps\\tool.exe", "tool"}, {"C:\\Apps\\archive.tar.gz", "archive.tar"},
      {"C:\\my.apps\\noext", "noext"}, {"C:\\Apps\\.hidden", ""},
      {"C:tool.exe", "C:tool"},         {"tool", "tool"},
  };
  for (const PathCase& c : cases) EXPECT_EQ(toString(baseNameOf(c.input)), c.expected) << c.input;
}

TEST_F(PathsTest, DoubleByteSecondBytesAreNotSeparators) {
  ScopedTextSettings sjis(builtinCodePage(932), test::windowsStyles());
  EXPECT_EQ(toString(directoryOf("C:\\d\x95\\")), "C:\\");
  EXPECT_EQ(toString(directoryOf("C:\\d\x95\\\\t.exe")), "C:\\d\x95\\\\");
  EXPECT_EQ(toString(launchFilePath("C:\\d\x95\\")), "C:\\d\x95\\.kestrelune");
  EXPECT_EQ(toString(baseNameOf("C:\\x\x81.y")), "x\x81.y");  // 0x81 0x2E is one character
}

TEST(PathsPosixTest, UsesTheSlash) {
  ScopedTextSettings posix(builtinCodePage(0), test::posixStyles());
  EXPECT_EQ(toString(launchFilePath("/opt/app.d/bin/tool")), "/opt/app.d/bin/tool.kestrelune");
  EXPECT_EQ(toString(directoryOf("/opt/app/bin/tool")), "/opt/app/bin/");
  EXPECT_EQ(toString(directoryOf("C:tool")), "");  // no drive prefix on POSIX
  EXPECT_EQ(toString(baseNameOf("/opt/a.b/tool.sh")), "tool");
}

TEST(EnvironmentTest, FirstCaseInsensitiveMatchWins) {
  ScopedTextSettings ascii{builtinCodePage(0), test::windowsStyles()};
  const Environment environment({"=C:=C:\\x", "Path=C:\\bin", "PATHEXT=.EXE", "PATH=second", "EMPTY=",
                                 "A=B=C", "=hidden=1"});
  const PathCase cases[] = {
      {"path", "C:\\bin"}, {"PATH", "C:\\bin"}, {"PAT", ""},        {"PATHEXT", ".EXE"},
      {"EMPTY", ""},       {"UNSET", ""},       {"a", "B=C"},       {"", ""},
      {"=C:", ""},         {"=hidden", ""},
  };
  for (const PathCase& c : cases) EXPECT_EQ(toString(environment.value(c.input)), c.expected) << c.input;
}

TEST(PathExistsTest, FilesAndDirectoriesExist) {
  TempDir dir;
  writeFile(dir / "file", "x");
  EXPECT_TRUE(pathExists((dir / "file").c_str()));
  EXPECT_TRUE(pathExists(dir.path().c_str()));
  EXPECT_FALSE(pathExists((dir / "missing").c_str()));
  EXPECT_FALSE(pathExists(""));
}

}  // namespace
}  // namespace test
