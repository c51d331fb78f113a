// The inspect tool's own parts: how it shows a token, how it finds the launcher's arguments in its
// own command line, and the report of each mode, checked against a real application folder.
#include "inspect/inspect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "util/paths.h"

namespace test {
namespace {

TEST(VisibleText, EveryByteCanBeToldApart) {
  struct Case {
    std::string token;
    const char* shown;
  };
  const Case cases[] = {
      {"", "||"},
      {"java", "|java|"},
      {"a  b", "|a  b|"},
      {" ", "| |"},
      {"a\tb", "|a<TAB>b|"},
      {"\"x\r\ny\"", "|\"x<CR><LF>y\"|"},
      {"\x0b\x0c", "|<VT><FF>|"},
      {std::string("a\x01\x1f\x7f", 4), "|a<0x01><0x1F><0x7F>|"},
      {"C:\\My Apps\\", "|C:\\My Apps\\|"},
      {"|x|", "||x||"},
      {"\x95\x5c\xe9", "|\x95\x5c\xe9|"},  // bytes of the code page pass as they are
      {"\xEF\xBB\xBFjava", "|<BOM>java|"},    // a byte-order mark never passes for text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(visibleText(counted(c.token)), c.shown) << c.token;
  }
}

// The tool's own command line (raw on Windows, rebuilt from argv on POSIX) and what the launcher
// named by its first argument receives as its tail.
TEST(ArgumentsAfterLauncher, KeepTheRawTextAfterTheLauncherPath) {
  struct Case {
    const char* ownLine;
    const char* rest;
  };
  const Case cases[] = {
      {"kestrelune-inspect.exe C:\\app\\tool.exe -v \"my file.txt\"", "-v \"my file.txt\""},
      {"\"C:\\My Tools\\kestrelune-inspect.exe\" \"C:\\My Apps\\tool.exe\"   a   b  ", "a   b  "},
      {"kestrelune-inspect tool", ""},
      {"kestrelune-inspect \"tool\"", ""},
      {"kestrelune-inspect  tool   ", ""},
      {"kestrelune-inspect\ttool\t\"x y\"", "\"x y\""},
      {"kestrelune-inspect \"C:\\a b\\tool.exe\"x y", "y"},
      {"kestrelune-inspect tool \"\"", "\"\""},
      {"kestrelune-inspect tool a\\\"b \"c\\\\\" %PATH% ^& |", "a\\\"b \"c\\\\\" %PATH% ^& |"},
      {"\"kestrelune-inspect\" \"/opt/tool/bin/tool\" \"a b\" \"\"", "\"a b\" \"\""},
  };
  for (const Case& c : cases) {
    ProcessFacts tool;
    tool.commandLine = c.ownLine;
    ArgumentsTail rest = argumentsAfterLauncher(tool);
    EXPECT_TRUE(rest.replacedCharacters.empty()) << c.ownLine;
    EXPECT_EQ(toString(rest.text), c.rest) << c.ownLine;
    // The launcher it describes gets exactly that text as its tail.
    ProcessFacts launcher = factsOfRun(onWindows() ? "C:\\My Apps\\tool.exe" : "/opt/my apps/tool",
                                       rest.text, Environment());
    EXPECT_EQ(toString(argumentsTail(launcher).text), c.rest) << c.ownLine;
  }
}

// The lines that a Windows report adds after the command line of a line that starts its program
// directly: its length, and the program file.
std::string directLines(const std::string& line, const std::string& program) {
  if (!onWindows()) return "";
  return "length:       " + std::to_string(line.size()) + " (Windows: at most 32766)\n" +
         "start:        directly: |" + program + "|\n";
}

// The line that says where java came from: PATH, which leads to the test's jdk.
std::string javaAlongPathLine(const std::string& jdk) {
  return "java:         " + join(join(jdk, "bin"), onWindows() ? "java.EXE" : "java") + " (PATH)\n";
}

class InspectRunTest : public testing::Test {
 protected:
  void SetUp() override {
    bin = root / "bin";
    makeDirectory(bin);
    launcher = join(bin, onWindows() ? "tool.exe" : "tool");
    jdk = root / "jdk";  // with bin/java, which PATH leads to
    makeDirectory(jdk);
    makeDirectory(join(jdk, "bin"));
    writeFile(join(join(jdk, "bin"), onWindows() ? "java.exe" : "java"), "");
    pathToJava = counted("PATH=" + join(jdk, "bin"));
  }

  std::string inspect(const std::string& arguments) {
    run = planLaunch(factsOfRun(counted(launcher), counted(arguments), environment));
    return formatInspection(run, environment);
  }

  Environment environment;
  TempDir root;
  std::string bin, launcher, jdk;
  CountedString pathToJava;
  LaunchPlan run;
};

TEST_F(InspectRunTest, LaunchFileStagesAndCommandLine) {
  writeFile(join(bin, "tool.kestrelune"), styled("java %OPTS% -cp %@lib\\*.jar;classes Main %*\r\n"));
  makeDirectory(join(bin, "lib"));
  writeFile(join(bin, "lib" + separator() + "b.jar"), "b");
  writeFile(join(bin, "lib" + separator() + "a.jar"), "a");
  environment = Environment({"opts=-Xmx64m -Dmode=fast", pathToJava});
  const std::string b = bin + separator();  // the directory as %@ gives it
  const std::string classPath = b + styled("lib\\a.jar;") + b + styled("lib\\b.jar;classes");
  const std::string line = "java -Xmx64m -Dmode=fast -cp " + classPath + " Main -v \"my file.txt\"";
  std::string expected =
      "launcher:     " + launcher + "\n"
      "kind:         console\n"
      "launch file:  " + join(bin, "tool.kestrelune") + "\n"
      "mode:         launch file\n"
      "arguments:    |-v \"my file.txt\"|\n"
      "read (6 tokens):\n"
      "  [1] |java|\n"
      "  [2] |%OPTS%|\n"
      "  [3] |-cp|\n"
      "  [4] |%@" + styled("lib\\*.jar;classes") + "|\n"
      "  [5] |Main|\n"
      "  [6] |%*|\n";
  // The arguments keep their place and go in as the user gave them. On Windows each element of
  // a list comes out quoted; on POSIX what matched nothing stands as written.
  const std::string q = onWindows() ? "\"" : "";
  expected +=
      "after macros (7 tokens):\n"
      "  [1] |java|\n"
      "  [2] |-Xmx64m|\n"
      "  [3] |-Dmode=fast|\n"
      "  [4] |-cp|\n"
      "  [5] |\"" + b + "\"" + styled("lib\\*.jar;classes") + "|\n"
      "  [6] |Main|\n"
      "  [7] %* (the arguments, each exactly)\n"
      "after path lists (7 tokens):\n"
      "  [1] |" + q + "java" + q + "|\n"
      "  [2] |" + q + "-Xmx64m" + q + "|\n"
      "  [3] |" + q + "-Dmode=fast" + q + "|\n"
      "  [4] |" + q + "-cp" + q + "|\n"
      "  [5] |\"" + classPath + "\"|\n"
      "  [6] |" + q + "Main" + q + "|\n"
      "  [7] %* (the arguments, each exactly)\n" +
      javaAlongPathLine(jdk) +
      "command line: |" + line + "|\n" +
      directLines(line, join(join(jdk, "bin"), "java.EXE")) +
      "program arguments (8 arguments):\n"
      "  [1] |java|\n"
      "  [2] |-Xmx64m|\n"
      "  [3] |-Dmode=fast|\n"
      "  [4] |-cp|\n"
      "  [5] |" + classPath + "|\n"
      "  [6] |Main|\n"
      "  [7] |-v|\n"
      "  [8] |my file.txt|\n";
  EXPECT_EQ(inspect("-v \"my file.txt\""), expected);
  EXPECT_TRUE(run.runnable);
  EXPECT_EQ(inspectionError(run), "");
}

TEST_F(InspectRunTest, EmptyLaunchFileRunsAnEmptyLine) {
  writeFile(join(bin, "tool.kestrelune"), " \r\n");
  std::string report = inspect("ignored");
  EXPECT_NE(report.find("read (0 tokens):\nafter macros (0 tokens):\nafter path lists (0 tokens):\n"
                        "command line: ||\n"),
            std::string::npos)
      << report;
  EXPECT_TRUE(run.runnable);
}

TEST_F(InspectRunTest, LaunchFileThatCannotBeOpened) {
  const std::string launchFile = join(bin, "tool.kestrelune");
  makeDirectory(launchFile);
  writeFile(join(bin, "tool.jar"), "never looked for");
  std::string report = inspect("");
  EXPECT_EQ(report,
            "launcher:     " + launcher + "\n"
            "kind:         console\n"
            "launch file:  " + launchFile + "\n"
            "mode:         launch file\n"
            "arguments:    ||\n"
            "command line: (nothing is run)\n");
  EXPECT_FALSE(run.runnable);
  EXPECT_EQ(inspectionError(run), "error: cannot open " + launchFile);
}

TEST_F(InspectRunTest, DefaultJarCandidatesInSearchOrder) {
  const std::string s = separator();
  const std::string candidates[] = {bin + s + ".." + s + "lib" + s + "tool.jar",
                                    bin + s + s + "tool.jar", bin + s + "lib" + s + "tool.jar",
                                    bin + s + ".." + s + "tool.jar"};
  const std::string places[] = {join(root / "lib", "tool.jar"), join(bin, "tool.jar"),
                                join(join(bin, "lib"), "tool.jar"), root / "tool.jar"};
  makeDirectory(root / "lib");
  makeDirectory(join(bin, "lib"));
  struct Case {
    std::vector<int> present;
    const char* marks;  // one letter per candidate: f found, n not found, t not tried
  };
  const Case cases[] = {{{}, "nnnn"},     {{0}, "fttt"},    {{1}, "nftt"},   {{2}, "nnft"},
                        {{3}, "nnnf"},    {{1, 3}, "nftt"}, {{0, 1, 2, 3}, "fttt"}};
  environment = Environment({"Tool_VMOptions=-Xmx1g \"-Dq=a b\"", pathToJava});
  for (const Case& c : cases) {
    for (int order : c.present) writeFile(places[order], "jar");
    std::string report = inspect("a  \"b c\"");
    std::string where = "jars at";
    for (int order : c.present) where += " " + std::to_string(order);
    std::string expected = "jar:          tool.jar\n";
    int found = -1;
    for (int i = 0; i < 4; ++i) {
      const char mark = c.marks[i];
      if (mark == 'f') found = i;
      expected += "  [" + std::to_string(i + 1) + "] |" + candidates[i] + "| " +
                  (mark == 'f' ? "found" : mark == 'n' ? "not found" : "not tried") + "\n";
    }
    expected += "options:      TOOL_VMOPTIONS = |-Xmx1g \"-Dq=a b\"|\n";
    const std::string line =
        found < 0 ? "" : "java -Xmx1g \"-Dq=a b\" -jar \"" + candidates[found] + "\" a  \"b c\"";
    expected += found < 0 ? std::string("command line: (nothing is run)\n")
                          : javaAlongPathLine(jdk) + "command line: |" + line + "|\n" +
                                directLines(line, join(join(jdk, "bin"), "java.EXE"));
    if (found >= 0) {  // the options split, the arguments as the user gave them
      expected += "program arguments (7 arguments):\n  [1] |java|\n  [2] |-Xmx1g|\n"
                  "  [3] |-Dq=a b|\n  [4] |-jar|\n  [5] |" + candidates[found] + "|\n"
                  "  [6] |a|\n  [7] |b c|\n";
    }
    EXPECT_NE(report.find("mode:         default jar launch\n"), std::string::npos) << where;
    EXPECT_EQ(report.substr(report.find("jar:")), expected) << where;
    EXPECT_EQ(run.runnable, found >= 0) << where;
    EXPECT_EQ(inspectionError(run), found >= 0 ? "" : "error: tool.jar not found.") << where;
    for (int order : c.present) removeFile(places[order]);
  }
}

// Each finding is one line after the command line, naming what it is about; the plan runs as ever.
// The program is looked for as the interpreter or execvp would, from the application's folder.
TEST_F(InspectRunTest, WarningsNameWhatTheyAreAbout) {
  makeDirectory(join(bin, "lib"));
  writeFile(join(bin, styled("lib\\a.jar")), "a");
  writeFile(join(bin, styled("lib\\b.jar")), "b");
  const std::string lib = bin + styled("\\lib\\");
  const std::string notFound = " is not found (PATH has 1 folder; JAVA_HOME is |" + jdk + "|)";
  struct Case {
    std::string launchFile;
    std::vector<std::string> warnings;
    const char* arguments = "";
  };
  const Case cases[] = {
      {"java -Xmx1g %TOOL_OPTS% -cp %@lib\\*.jar;classes Main %*", {}},
      {"%JAVA_HOME%\\bin\\java -Dext=x;%@lib\\*.jar Main", {}},
      {"java -cp %@lib\\*.zip;classes Main",
       {"warning: the pattern |" + lib + "*.zip| matches nothing"}},
      {"java -Dhome=%JAVA_HOM%\\jre %OPTS% -Dset=%SET% Main",
       {"warning: %JAVA_HOM% is unset or empty in |-Dhome=%JAVA_HOM%" + styled("\\jre") + "|"}},
      {"\\jdk\\bin\\jaav Main",  // on Windows, relative to the current drive
       {onWindows() ? "warning: the program |\\jdk\\bin\\jaav| is named by a relative path: the "
                      "user's current folder decides which file runs"
                    : "warning: the program |/jdk/bin/jaav| is not found (JAVA_HOME is |" + jdk +
                          "|)"}},
      {"%JAVA_CMD% Main",
       {"warning: %JAVA_CMD% is unset or empty in |%JAVA_CMD%|",
        "warning: the program |Main|" + notFound}},
      {"jaav Main", {"warning: the program |jaav|" + notFound}},
      {"java -Dratio=50% Main", {"warning: a % is never closed in |-Dratio=50%|"}},
      {"\xEF\xBB\xBFjava Main",
       {"warning: the launch file starts with a byte-order mark, which is part of its first token "
        "|<BOM>java|",
        "warning: the program |<BOM>java|" + notFound}},
      {std::string("\xFF\xFEj\0a\0v\0a\0 \0M\0", 14),
       {"warning: the launch file holds a zero byte, as UTF-16 text does: the launcher reads "
        "nothing after it",
        // cmd.exe skips 0xFF, one of its delimiters, before the command word
        "warning: the program |" + std::string(onWindows() ? "" : "\xFF") + "\xFEj|" + notFound}},
      {"java Main", {"warning: the launcher is given arguments, but the launch file has no %*: the "
                     "program does not get them"}, "a b"},
      {"java %* -Xmx1g Main", {"warning: %* stands before |Main|, among java's own options: an "
                               "argument that starts with - becomes an option of java"}},
      {"java \"-Dargs=%*\" \"%@lib\" Main %*",
       {"warning: %* and %@ inside double quotes stay as written in |\"-Dargs=%*\"|",
        "warning: %* and %@ inside double quotes stay as written in |\"%@lib\"|"}, "a"},
      {"java -cp %@lib\\*.jar Main",
       {"warning: the class path |" + lib + "*.jar| became 2 arguments, one per match: java takes "
        "only the first as its class path"}},
      {"java -Dext=a;lib\\*.jar Main",
       {"warning: a pattern matched in the current folder changed the option |" +
        styled("-Dext=a;lib\\*.jar") + "| into |" + styled("-Dext=a;lib\\a.jar;lib\\b.jar") + "|"}},
  };
  environment = Environment({"SET=1", pathToJava, counted("JAVA_HOME=" + jdk)});
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(bin);  // where relative patterns are matched
  for (const Case& c : cases) {
    writeFile(join(bin, "tool.kestrelune"), styled(c.launchFile));
    std::string report = inspect(c.arguments);
    std::vector<std::string> warnings;
    for (size_t at = report.find("\nwarning: "); at != std::string::npos;
         at = report.find("\nwarning: ", at + 1)) {
      warnings.push_back(report.substr(at + 1, report.find('\n', at + 1) - at - 1));
    }
    EXPECT_EQ(warnings, c.warnings) << c.launchFile;
    EXPECT_TRUE(run.runnable) << c.launchFile;
  }
  std::filesystem::current_path(before);
}

// Past cmd.exe's 8,191 characters after /c (counted with the escapes) a java class path moves to
// CLASSPATH when the line then fits; otherwise the report warns and the line still runs. Past the
// 32,766 of the whole interpreter line it is the plan's error, the launcher's own.
TEST_F(InspectRunTest, LinesNearTheLimitsOfWindows) {
  if (!onWindows()) GTEST_SKIP() << "only Windows runs the line through an interpreter";
  // 13 characters, then " /d /s /e:on /v:off /c " (23). The java along PATH is a batch file,
  // which only cmd.exe runs.
  const std::string scripts = root / "scripts";
  makeDirectory(scripts);
  writeFile(join(scripts, "java.bat"), "");
  environment = Environment({"COMSPEC=C:\\cc\\cmd.exe", counted("PATH=" + scripts)});
  struct Case {
    const char* start;
    size_t filler;  // characters between start and end
    const char* end;
    size_t afterC;  // the line in its pair of quotes, escaped, before any move
    bool moved;
    bool warned;
    bool runs;
    const char* character = "v";  // what the filler repeats; any other is UTF-8 (code page 65001)
  };
  const Case cases[] = {
      {"java -Dk=", 8180, "", 8191, false, false, true},
      {"java -Dk=", 8181, "", 8192, false, true, true},
      {"java -Dk=", 32719, "", 32730, false, true, true},
      {"java -Dk=", 32720, "", 32731, false, false, false},
      // Windows counts UTF-16 units: the euro sign one, the emoji two (a surrogate pair).
      {"java -Dk=", 2726, "", 8189, false, false, true, "\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"java -cp ", 8175, " Main", 8191, false, false, true},
      {"java -cp ", 8176, " Main", 8192, true, false, true},
      {"java -cp ", 32718, " Main", 32734, true, false, true},
      {"java -cp ", 8063, " Main %*", 8400, true, false, true},  // 8,120 before the escapes
      {"java -cp x.jar -Dk=", 8200, " Main", 8226, false, true, true},  // still too long
  };
  for (const Case& c : cases) {
    ScopedTextSettings settings(std::string(c.character) == "v" ? activeCodePage()
                                                                : builtinCodePage(65001),
                                windowsStyles());
    std::string filler;
    for (size_t i = 0; i < c.filler; ++i) filler += c.character;
    writeFile(join(bin, "tool.kestrelune"), c.start + filler + c.end);
    std::string report = inspect(std::string(40, '%'));  // each escaped as %%cd:~,%
    const std::string where = c.start + std::to_string(c.filler);
    const std::string warning = "warning: the command line is " + std::to_string(c.afterC) +
                                " characters long; cmd.exe runs at most 8191\n";
    const std::string move = "class path:   moved to CLASSPATH (" + std::to_string(c.filler) +
                             " characters), because the line would be " +
                             std::to_string(c.afterC) + " characters long\n";
    EXPECT_EQ(report.find(warning) != std::string::npos, c.warned) << where;
    EXPECT_EQ(report.find(move) != std::string::npos, c.moved) << where << "\n" << report;
    EXPECT_EQ(report.find(std::to_string(c.afterC) + " after /c") != std::string::npos, !c.moved)
        << where;
    EXPECT_EQ(toString(run.request.classPath), c.moved ? std::string(c.filler, 'v') : "") << where;
    EXPECT_EQ(run.runnable, c.runs) << where;
    EXPECT_EQ(inspectionError(run), c.runs ? "" : "error: the command line is 32767 characters "
                                                  "long; Windows accepts at most 32766");
  }
}

// A line with data runs with the system's cmd.exe whatever COMSPEC names, and the report says so.
TEST_F(InspectRunTest, ComspecPassedOverIsNamed) {
  if (!onWindows()) GTEST_SKIP() << "only Windows runs the line through an interpreter";
  writeFile(join(bin, "tool.kestrelune"), "@java Main %*");
  environment = Environment({"COMSPEC=C:\\other\\tcc.exe", pathToJava});
  const std::string report = inspect("a");
  EXPECT_NE(report.find("start:        through cmd.exe, because the launch file's @ at column 1 is "
                        "cmd.exe's syntax\n"),
            std::string::npos) << report;
  EXPECT_NE(report.find("\\cmd.exe /d /s /e:on /v:off /c \"@java Main a\"| (not COMSPEC "
                        "|C:\\other\\tcc.exe|, which would not read the escapes of data)\n"),
            std::string::npos) << report;
}

}  // namespace
}  // namespace test
