// kestrelune-inspect against the launcher itself: for the same application, the command line the
// tool prints is the one the child really receives (its raw command line on Windows, its
// arguments on POSIX, where the launcher splits the line itself).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/inspect_output.h"
#include "e2e/launch_fixture.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

class InspectToolTest : public LaunchFixture {
 protected:
  RunResult inspect(const std::string& arguments) {
    return runInspect(launcher, arguments, environment, root.path());
  }

  // Runs the launcher and the tool with the same raw arguments and compares what they make.
  void expectSameCommand(const std::string& arguments, const std::string& what) {
    removeFile(root / "record");
    RunResult launched = launch(arguments);
    ChildRecord child = record();
    ASSERT_TRUE(child.present) << what << "\n" << launched.err;
    RunResult shown = inspect(arguments);
    EXPECT_EQ(shown.status, 0u) << what << "\n" << shown.err;
    EXPECT_EQ(shown.err, "") << what;
    std::string line;
    ASSERT_TRUE(printedCommandLine(shown.out, &line)) << what << "\n" << shown.out;
    expectChildReceived(child, shown.out, line, what);
  }
};

TEST_F(InspectToolTest, PrintsTheCommandTheLauncherRuns) {
  struct Case {
    const char* launchFile;
    const char* arguments;
  };
  const Case cases[] = {
      {"java -cp %@lib\\*.jar;classes Main %*", "-v \"my file.txt\""},
      {"java %OPTS% \"-Dx=a b\" -Dy=%EMPTY% -Dz=%OPTS% Main %*", "a   \"b  c\"  \"\" d"},
      {"java -Dhome=%@ -Dlib=%@lib\\ %@lib\\*.jar Main", "ignored"},
      {"java \"-Dt=%@ *\" Main %* %*", "x\ty"},
      {"java\r\n-cp\r\n\"%@lib\\a.jar\";missing\\*.jar\r\nMain\r\n", ""},
  };
  installLauncher("tool", "My App");
  makeDirectory(join(binDir, "lib"));
  writeFile(join(binDir, styled("lib\\a.jar")), "a");
  writeFile(join(binDir, styled("lib\\b.jar")), "b");
  environment["OPTS"] = "-Xmx64m -Dmode=fast";
  for (const Case& c : cases) {
    writeFile(join(binDir, "tool.kestrelune"), styled(c.launchFile));
    expectSameCommand(c.arguments, c.launchFile);
  }
}

TEST_F(InspectToolTest, PrintsTheDefaultJarCommand) {
  installLauncher("tool");
  makeDirectory(join(appDir, "lib"));
  writeFile(join(join(appDir, "lib"), "tool.jar"), "jar");
  for (const char* options : {"", "-Xmx64m -Dmode=fast"}) {
    environment["TOOL_VMOPTIONS"] = options;
    for (const char* arguments : {"", "a  \"b c\" d", "\"\""}) {
      expectSameCommand(arguments, std::string(options) + " / " + arguments);
    }
  }
}

TEST_F(InspectToolTest, FailuresAreReportedWithStatusOne) {
  installLauncher("tool");
  RunResult shown = inspect("a");
  EXPECT_EQ(shown.status, 1u);
  EXPECT_EQ(shown.err, messageLine("error: tool.jar not found."));
  EXPECT_NE(shown.out.find("command line: (nothing is run)"), std::string::npos) << shown.out;

  makeDirectory(join(binDir, "tool.kestrelune"));
  shown = inspect("");
  EXPECT_EQ(shown.status, 1u);
  EXPECT_EQ(shown.err, messageLine("error: cannot open " + join(binDir, "tool.kestrelune")));
}

TEST_F(InspectToolTest, BadUsage) {
  RunResult shown = runProgram(builtProgram("kestrelune-inspect"), "", environment, root.path());
  EXPECT_EQ(shown.status, 1u);
  EXPECT_EQ(shown.err, messageLine("usage: kestrelune-inspect LAUNCHER [ARGUMENTS...]"));
  EXPECT_EQ(shown.out, "");
  shown = runProgram(builtProgram("kestrelune-inspect"), "--help", environment, root.path());
  EXPECT_EQ(shown.status, 0u);
  EXPECT_EQ(shown.out.rfind("usage: kestrelune-inspect LAUNCHER [ARGUMENTS...]", 0), 0u) << shown.out;
}

// The path may be relative to the current directory; the tool resolves it as the system would
// for the running launcher.
TEST_F(InspectToolTest, RelativeLauncherPath) {
  installLauncher("tool");
  writeFile(join(binDir, "tool.kestrelune"), "java -Dhome=%@ Main");
  RunResult shown = runProgram(builtProgram("kestrelune-inspect"),
                               styled("app\\bin\\tool") + " x", environment, root.path());
  EXPECT_EQ(shown.status, 0u) << shown.err;
  std::string line;
  ASSERT_TRUE(printedCommandLine(shown.out, &line)) << shown.out;
  EXPECT_EQ(line, "java -Dhome=" + binDir + separator() + " Main");
}

// Read from the launcher's own file, whatever its name. A launcher of the other system (its
// first bytes written here: a PE image for the Linux tool, an ELF one for the Windows tool) gets
// one line naming the tool that reads it there, and how to run that tool.
TEST_F(InspectToolTest, ReadsWhichLauncherItIs) {
  std::vector<std::pair<std::string, std::string>> cases = {{"kestrelune", "console"}};
  if (onWindows()) cases.push_back({"kestrelunew", "windowed"});
  cases.push_back({"", "the other system's"});
  for (const auto& [program, kind] : cases) {
    launcherProgram = program.empty() ? "kestrelune" : program;
    installLauncher("tool", program.empty() ? "other" : program);
    if (!program.empty()) {
      RunResult shown = inspect("");
      EXPECT_NE(shown.out.find("\nkind:         " + messageLine(kind)), std::string::npos)
          << shown.out;
      continue;
    }
    std::string header(128, '\0');  // an ELF image for the Windows tool, a PE one for Linux's
    header.replace(0, onWindows() ? 4 : 2, onWindows() ? "\x7F" "ELF" : "MZ");
    header[60] = 64;  // where "PE\0\0" starts
    header.replace(64, 4, std::string("PE\0\0", 4));
    launcher = join(binDir, onWindows() ? "tool" : "tool.exe");
    writeFile(launcher, header);
    std::string wine = "Z:" + launcher;
    for (char& c : wine) c = c == '/' ? '\\' : c;
    const std::string head =
        "error: " + launcher +
        (onWindows() ? " is a Linux launcher: the native kestrelune-inspect inspects it: "
                     : " is a Windows launcher: the kestrelune-inspect.exe of the Linux package "
                       "inspects it under Wine: wine ");
    const std::string tail =
        messageLine(onWindows() ? "kestrelune-inspect '" + launcher + "' a 'b c'"
                                : "/kestrelune-inspect.exe '" + wine + "' a 'b c'");
    RunResult shown = inspect("a \"b c\"");
    EXPECT_EQ(shown.status, failureStatus());
    EXPECT_EQ(shown.out, "");
    EXPECT_EQ(shown.err.substr(0, head.size()), head);
    ASSERT_GT(shown.err.size(), tail.size());
    EXPECT_EQ(shown.err.substr(shown.err.size() - tail.size()), tail) << shown.err;
    EXPECT_EQ(shown.err.find('\n'), shown.err.size() - 1) << shown.err;
  }
}

}  // namespace
}  // namespace test
