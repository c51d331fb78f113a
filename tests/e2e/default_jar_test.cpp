// The default jar launch, end to end: a renamed launcher with no launch file beside it.
#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <vector>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

class DefaultJarTest : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    installLauncher("tool");
    makeDirectory(join(appDir, "lib"));
    makeDirectory(join(binDir, "lib"));
  }

  // The four places in search order, as the launcher spells them.
  std::string candidate(int order, const std::string& jar = "tool.jar") const {
    const std::string s = separator();
    const std::string entries[] = {".." + s + "lib", "", "lib", ".."};
    return binDir + s + entries[order] + s + jar;
  }

  // Where candidate(order) really is, to put a jar there.
  std::string placeOf(int order, const std::string& jar = "tool.jar") const {
    const std::string places[] = {join(appDir, "lib"), binDir, join(binDir, "lib"), appDir};
    return join(places[order], jar);
  }

  // The command line the launcher builds, as the child's raw command line shows it.
  std::string commandLine(int order, const std::string& options, const std::string& tail) const {
    return "java " + options + " -jar \"" + candidate(order) + "\" " + tail;
  }
};

TEST_F(DefaultJarTest, TakesTheFirstCandidateThatExists) {
  struct Case {
    std::vector<int> present;
    int expected;
  };
  const Case cases[] = {{{0}, 0}, {{1}, 1}, {{2}, 2}, {{3}, 3},
                        {{0, 1}, 0}, {{1, 2}, 1}, {{2, 3}, 2}, {{0, 1, 2, 3}, 0}};
  for (const Case& c : cases) {
    for (int order : c.present) writeFile(placeOf(order), "jar");
    RunResult result = launch();
    ChildRecord child = record();
    std::string where = "jar present at";
    for (int order : c.present) where += " " + std::to_string(order);
    ASSERT_TRUE(child.present) << where << "\n" << result.err;
    EXPECT_EQ(result.status, 0u) << where;
    ASSERT_EQ(child.arguments, (std::vector<std::string>{"-jar", candidate(c.expected)})) << where;
    if (onWindows()) {
      EXPECT_EQ(child.raw, commandLine(c.expected, "", "")) << where;
    }
    for (int order : c.present) removeFile(placeOf(order));
    removeFile(root / "record");
  }
}

TEST_F(DefaultJarTest, InsertsOptionsAndArgumentsRaw) {
  struct Case {
    const char* options;  // nullptr: the variable is unset
    const char* arguments;
    std::vector<std::string> parsed;
  };
  const Case cases[] = {
      {nullptr, "", {"-jar", "JAR"}},
      {"", "", {"-jar", "JAR"}},
      {"-Xmx256m -Dmode=fast", "a \"b c\"", {"-Xmx256m", "-Dmode=fast", "-jar", "JAR", "a", "b c"}},
      {"-Dname=\"a b\"", "x", {"-Dname=a b", "-jar", "JAR", "x"}},
      {"-Xss1m", "-v  \"my file.txt\"", {"-Xss1m", "-jar", "JAR", "-v", "my file.txt"}},
  };
  writeFile(placeOf(2), "jar");
  for (const Case& c : cases) {
    environment["TOOL_VMOPTIONS"] = c.options ? c.options : kUnset;
    RunResult result = launch(c.arguments);
    ChildRecord child = record();
    ASSERT_TRUE(child.present) << c.arguments << "\n" << result.err;
    std::vector<std::string> expected = c.parsed;
    for (std::string& argument : expected) {
      if (argument == "JAR") argument = candidate(2);
    }
    EXPECT_EQ(child.arguments, expected) << c.arguments;
    if (onWindows()) {
      EXPECT_EQ(child.raw, commandLine(2, c.options ? c.options : "", c.arguments)) << c.arguments;
    }
  }
}

TEST_F(DefaultJarTest, OptionsVariableMatchesWithoutRegardToCase) {
  writeFile(placeOf(1), "jar");
  environment["tool_vmoptions"] = "-Dlower=yes";
  launch();
  EXPECT_EQ(record().arguments,
            (std::vector<std::string>{"-Dlower=yes", "-jar", candidate(1)}));
}

// Windows drops the last extension; Linux names have none to drop, so the whole name counts, and
// the options variable has a spelling that a shell can export as well.
TEST_F(DefaultJarTest, RenamedLauncherUsesItsOwnNames) {
  struct Case {
    const char* launcher;
    const char* jar;
    std::map<std::string, std::string> variables;
    const char* options;  // the option that arrives, or nothing
  };
  const Case windows[] = {
      {"my.tool.exe", "my.tool.jar", {{"MY.TOOL_VMOPTIONS", "-Dfrom=my.tool"}}, "-Dfrom=my.tool"},
      {"my.tool", "my.jar", {}, nullptr},
  };
  const Case posix[] = {
      {"tool-1.2", "tool-1.2.jar", {{"TOOL-1.2_VMOPTIONS", "-Dwhole"}}, "-Dwhole"},
      {"tool-1.2", "tool-1.2.jar", {{"TOOL_1_2_VMOPTIONS", "-Dshell"}}, "-Dshell"},
      {"tool-1.2", "tool-1.2.jar",
       {{"TOOL-1.2_VMOPTIONS", "-Dwhole"}, {"TOOL_1_2_VMOPTIONS", "-Dshell"}}, "-Dwhole"},
      {"my.tool", "my.tool.jar", {{"MY_TOOL_VMOPTIONS", "-Dshell"}}, "-Dshell"},
  };
  int installed = 0;
  for (const Case& c : onWindows() ? std::vector<Case>(std::begin(windows), std::end(windows))
                                   : std::vector<Case>(std::begin(posix), std::end(posix))) {
    installLauncher(c.launcher, "other" + std::to_string(++installed), true);
    writeFile(placeOf(1, c.jar), "jar");
    std::map<std::string, std::string> saved = environment;
    for (const auto& variable : c.variables) environment[variable.first] = variable.second;
    RunResult result = launch("go");
    environment = saved;
    EXPECT_EQ(result.status, 0u) << c.launcher << result.err;
    std::vector<std::string> expected{"-jar", candidate(1, c.jar), "go"};
    if (c.options != nullptr) expected.insert(expected.begin(), c.options);
    EXPECT_EQ(record().arguments, expected) << c.launcher;
  }
}

TEST_F(DefaultJarTest, MissingJarIsReportedByItsBareName) {
  environment["TOOL_VMOPTIONS"] = "-Xmx1m";
  RunResult result = launch("a b");
  EXPECT_EQ(result.err, messageLine("error: tool.jar not found."));
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.status, failureStatus());
  EXPECT_FALSE(record().present);
}

TEST_F(DefaultJarTest, DirectoryNamedLikeTheJarIsLaunched) {
  makeDirectory(placeOf(3));
  RunResult result = launch();
  EXPECT_EQ(result.status, 0u) << result.err;
  EXPECT_EQ(record().arguments, (std::vector<std::string>{"-jar", candidate(3)}));
}

TEST_F(DefaultJarTest, PassesTheChildStatusThrough) {
  writeFile(placeOf(0), "jar");
  for (const char* status : {"0", "1", "3", "255"}) {
    environment["KESTRELUNE_EXIT"] = status;
    RunResult result = launch();
    EXPECT_EQ(result.status, std::stoul(status)) << result.err;
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(DefaultJarTest, MissingJava) {
  writeFile(placeOf(0), "jar");
  hideJava();
  RunResult result = launch();
  EXPECT_FALSE(record().present);
  const std::string notFound = javaNotFoundLine();
  if (notFound.empty()) GTEST_SKIP() << "this system keeps a Java runtime of its own";
  EXPECT_EQ(result.err, notFound);
  EXPECT_EQ(result.status, onWindows() ? 9009u : 127u);
}

}  // namespace
}  // namespace test

namespace test {
namespace {

// How the interpreter is found: the variable first, then cmd.exe in the system folder, never
// one in the current folder or along PATH. A line with data (the jar, the arguments) runs only
// with cmd.exe, which reads its escapes: another program named by COMSPEC is passed over.
TEST_F(DefaultJarTest, InterpreterIsFoundWithoutComspec) {
  if (!onWindows()) GTEST_SKIP() << "POSIX runs the program without an interpreter";
  writeFile(placeOf(1), "jar");
  installChild(root.path(), "cmd.exe");  // planted where the launcher runs: it must never start
  struct Case {
    std::string comspec;
    std::string path;
  };
  const Case cases[] = {{kUnset, environment["PATH"]},
                        {"", environment["PATH"]},
                        {"C:\\nowhere\\cmd.exe", environment["PATH"]},
                        {"C:\\windows\\system32\\cmd.exe", environment["PATH"]},
                        {kUnset, root.path() + ";" + javaDir},  // no system folder on PATH
                        {javaDir + "\\java.exe", environment["PATH"]}};
  environment["KESTRELUNE_EXIT"] = "3";
  for (const Case& c : cases) {
    environment["COMSPEC"] = c.comspec;
    environment["PATH"] = c.path;
    RunResult result = launch("x");
    EXPECT_EQ(result.status, 3u) << c.comspec << " " << c.path;
    EXPECT_EQ(record().arguments, (std::vector<std::string>{"-jar", candidate(1), "x"}))
        << c.comspec << " " << c.path;
    removeFile(root / "record");
  }
}

}  // namespace
}  // namespace test
