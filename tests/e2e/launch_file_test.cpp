// Launch-file mode end to end: the launch file beside the renamed launcher, every stage, and the
// command the child receives, byte for byte.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "e2e/launch_fixture.h"
#include "support/real_code_page.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

class LaunchFileTest : public LaunchFixture {
 protected:
  void install(const std::string& launchFile, const std::string& app = "app",
               const std::string& bin = "bin") {
    installLauncher("tool", app, false, bin);
    setLaunchFile(launchFile);
  }

  void setLaunchFile(const std::string& text) {
    writeFile(join(binDir, "tool.kestrelune"), styled(text));
  }

  void addJars(const std::string& directory) {
    makeDirectory(directory);
    writeFile(join(directory, "a.jar"), "a");
    writeFile(join(directory, "b.jar"), "b");
  }

  std::string bin() const { return binDir + separator(); }
  std::string list() const { return onWindows() ? ";" : ":"; }
};

TEST_F(LaunchFileTest, TypicalRun) {
  install("java -cp %@lib\\*.jar;classes Main %*\r\n");
  addJars(join(binDir, "lib"));
  RunResult result = launch("-v \"my file.txt\"");
  ChildRecord child = record();
  ASSERT_TRUE(child.present) << result.err;
  std::string classPath = bin() + styled("lib\\a.jar;") + bin() + styled("lib\\b.jar;classes");
  EXPECT_EQ(child.arguments, (Arguments{"-cp", classPath, "Main", "-v", "my file.txt"}));
  if (onWindows()) {
    EXPECT_EQ(child.raw, "java -cp " + classPath + " Main -v \"my file.txt\"");
  }
  EXPECT_EQ(result.status, 0u);
  EXPECT_EQ(result.err, "");
}

TEST_F(LaunchFileTest, BlanksInTheJavaAndApplicationDirectories) {
  install("%JAVA_HOME%\\bin\\java \"-Dt=%@ *\" -cp %@lib\\*.jar;x Main", "My App");
  addJars(join(binDir, "lib"));
  std::string javaHome = root / "My JDK";
  makeDirectory(javaHome);
  makeDirectory(join(javaHome, "bin"));
  installChild(join(javaHome, "bin"), onWindows() ? "java.exe" : "java");
  environment["JAVA_HOME"] = javaHome;
  environment["PATH"] = onWindows() ? "C:\\windows\\system32" : "/nowhere";  // no java along PATH
  RunResult result = launch();
  ChildRecord child = record();
  ASSERT_TRUE(child.present) << result.err;
  // Quoted text is neither a macro nor a pattern; the class path with blanks is enclosed.
  std::string expanded = bin() + styled("lib\\a.jar;") + bin() + styled("lib\\b.jar;x");
  EXPECT_EQ(child.arguments, (Arguments{"-Dt=%@ *", "-cp", expanded, "Main"}));
  if (onWindows()) {
    EXPECT_EQ(child.raw, "\"" + javaHome + "\\bin\\java\" \"-Dt=%@ *\" -cp \"" + expanded + "\" Main");
  }
}

TEST_F(LaunchFileTest, DirectoryMacroAtTheEndOfATokenWithBlanks) {
  install("java -Dapp.home=%@ -Dnext=1 Main", "My App");
  launch();
  EXPECT_EQ(record().arguments, (Arguments{"-Dapp.home=" + bin(), "-Dnext=1", "Main"}));
}

TEST_F(LaunchFileTest, NothingToRun) {
  install("");
  writeFile(join(binDir, "tool.jar"), "never looked for");
  for (const char* text : {"", " \r\n\t \x0b\x0c", "%EMPTY% %EMPTY%", "\x1a java"}) {
    setLaunchFile(text);
    RunResult result = launch("ignored");
    EXPECT_EQ(result.status, 0u) << text;
    EXPECT_EQ(result.err, "") << text;
    EXPECT_FALSE(record().present) << text;
  }
}

TEST_F(LaunchFileTest, DirectoryNamedLikeTheLaunchFile) {
  installLauncher("tool");
  std::string launchFile = join(binDir, "tool.kestrelune");
  makeDirectory(launchFile);
  writeFile(join(binDir, "tool.jar"), "never looked for");
  RunResult result = launch();
  EXPECT_EQ(result.err, messageLine("error: cannot open " + launchFile));
  EXPECT_EQ(result.status, failureStatus());
  EXPECT_FALSE(record().present);
}

TEST_F(LaunchFileTest, ArgumentsOnlyThroughTheTailMacro) {
  install("java Main");
  launch("-x \"y z\"");
  EXPECT_EQ(record().arguments, (Arguments{"Main"}));
  setLaunchFile("java %* Main %*");
  launch("-x \"y z\"");
  EXPECT_EQ(record().arguments, (Arguments{"-x", "y z", "Main", "-x", "y z"}));
}

TEST_F(LaunchFileTest, VariablesAndOptions) {
  install("java %OPTS% -Dx=%OPTS% \"%NOPE%\" %MISSING% 100%% %% 50% Main");
  environment["opts"] = "-Xmx64m -Dmode=fast";
  launch();
  EXPECT_EQ(record().arguments,
            (Arguments{"-Xmx64m", "-Dmode=fast", "-Dx=-Xmx64m -Dmode=fast", "%NOPE%", "100%", "%",
                       "50%", "Main"}));
}

// The install folder and the names a wildcard matches are data: "&" in them is a character of a
// path, never a second command.
TEST_F(LaunchFileTest, InstallFolderAndMatchesWithOperators) {
  install("java -cp %@..\\lib\\*.jar;%@..\\conf Main", "R&D");
  makeDirectory(join(appDir, "lib"));
  writeFile(join(appDir, styled("lib\\a.jar")), "a");
  writeFile(join(appDir, styled("lib\\x&y.jar")), "x");
  RunResult result = launch();
  const std::string up = bin() + styled("..\\");
  EXPECT_EQ(record().arguments, (Arguments{"-cp",
                                           up + styled("lib\\a.jar;") + up +
                                               styled("lib\\x&y.jar;") + up + "conf",
                                           "Main"}))
      << result.err;
  EXPECT_EQ(result.status, 0u);
}

// A java.bat in the folder the user runs the launcher from never runs: the launcher finds java
// along PATH itself, or refuses when PATH has none.
TEST_F(LaunchFileTest, ProgramNeverFromTheCurrentFolder) {
  if (!onWindows()) GTEST_SKIP() << "POSIX runs a program found along PATH only";
  install("java Main %*");
  writeFile(root / "java.bat", "@echo planted> \"%~dp0pwned\"\r\n");
  RunResult result = launch("a");
  EXPECT_EQ(record().arguments, (Arguments{"Main", "a"})) << result.err;
  EXPECT_EQ(record().raw, javaDir + "\\java.exe Main a");
  removeFile(root / "record");
  hideJava();
  result = launch("a");
  EXPECT_EQ(result.err, javaNotFoundLine());
  EXPECT_EQ(result.status, 9009u);
  EXPECT_FALSE(record().present);
  EXPECT_THROW(readFile(root / "pwned"), std::runtime_error);
}

// java named alone, or by the build tools' idiom with JAVA_HOME unset, comes from PATH, else
// from JAVA_HOME; a JAVA_HOME that depends on where the user is never counts.
TEST_F(LaunchFileTest, JavaComesFromWhereUsersKeepIt) {
  const std::string home = root / "My JDK";
  const std::string java = onWindows() ? "java.exe" : "java";
  makeDirectory(home);
  makeDirectory(join(home, "bin"));
  installChild(join(home, "bin"), java);
  makeDirectory(root / "bin");
  installChild(root / "bin", java);  // where JAVA_HOME=. would lead
  const std::string fromHome = join(join(home, "bin"), java);
  const std::string fromPath = join(javaDir, onWindows() ? "java.EXE" : "java");
  struct Case {
    std::string launchFile;
    bool javaOnPath;
    std::string javaHome;  // kUnset for none
    std::string program;   // what runs, quoted where the line quotes it; "" for nothing
  };
  const Case cases[] = {
      {"java Main %*", false, home, "\"" + fromHome + "\""},
      {styled("%JAVA_HOME%\\bin\\java Main %*"), true, kUnset, fromPath},
      {styled("\"%JAVA_HOME%\\bin\\java\" Main %*"), true, kUnset, fromPath},
      {styled("%JAVA_HOME%\\bin\\java Main %*"), true, ".", fromPath},
      {"java Main %*", false, ".", ""},
  };
  install("");
  const std::string path = environment["PATH"];
  environment["PATHEXT"] = ".COM;.EXE";  // how a name found along PATH is spelt
  for (const Case& c : cases) {
    setLaunchFile(c.launchFile);
    hideJava();
    if (c.javaOnPath) environment["PATH"] = path;
    environment["JAVA_HOME"] = c.javaHome;
    RunResult result = launch("a");
    const std::string row = c.launchFile + " JAVA_HOME=" + c.javaHome;
    if (c.program.empty()) {
      EXPECT_FALSE(record().present) << row;
      std::string notFound = javaNotFoundLine();
      const std::string unset = "JAVA_HOME is not set";
      if (notFound.empty()) continue;  // the system's own Java ran
      notFound.replace(notFound.find(unset), unset.size(), "JAVA_HOME (.) is no absolute path");
      EXPECT_EQ(result.err, notFound) << row;
      continue;
    }
    ASSERT_TRUE(record().present) << row << "\n" << result.err;
    EXPECT_EQ(record().arguments, (Arguments{"Main", "a"})) << row;
    if (onWindows()) {
      EXPECT_EQ(record().raw, c.program + " Main a") << row;
    }
    removeFile(root / "record");
  }
}

// Every shape of a first word keeps the current folder, and PATH's relative entries, out of the
// program: the planted java.bat never runs, and the program starts from PATH or is refused.
TEST_F(LaunchFileTest, EveryFirstWordKeepsTheCurrentFolderOut) {
  if (!onWindows()) GTEST_SKIP() << "cmd.exe alone searches the current folder";
  struct Case {
    std::string launchFile;
    std::string relativePath;  // a PATH entry before the real one, holding the planted file
    std::string error;         // "" when the program runs
  };
  const Case cases[] = {
      {"\"\" java Main %*", "", ""},
      {"call java Main %*", "", ""},
      {"start /wait java Main %*", "", ""},
      {"java Main %*", "tools", ""},
      {"java Main %*", ".\\.", ""},
      {"%NOPE_HOME%\\bin\\java Main %*", "",
       "error: NOPE_HOME is not set, so the program \\bin\\java would be taken from the current drive"},
      {"\"%NOPE_HOME%\\bin\\java\" Main %*", "",
       "error: NOPE_HOME is not set, so the program %NOPE_HOME%\\bin\\java would be taken from the "
       "current folder"},
  };
  const std::string path = environment["PATH"];
  install("");
  makeDirectory(root / "tools");
  for (const Case& c : cases) {
    setLaunchFile(c.launchFile);
    const std::string planted = c.relativePath == "tools" ? root / "tools" : root.path();
    writeFile(join(planted, "java.bat"), "@echo planted> \"%~dp0pwned\"\r\n");
    environment["PATH"] = c.relativePath.empty() ? path : c.relativePath + ";" + path;
    RunResult result = launch("a");
    if (c.error.empty()) {
      EXPECT_EQ(record().arguments, (Arguments{"Main", "a"})) << c.launchFile << "\n" << result.err;
    } else {
      EXPECT_EQ(result.err, messageLine(c.error)) << c.launchFile;
      EXPECT_EQ(result.status, failureStatus()) << c.launchFile;
    }
    EXPECT_THROW(readFile(join(planted, "pwned")), std::runtime_error) << c.launchFile;
    removeFile(join(planted, "java.bat"));
    removeFile(root / "record");
  }
}

// Where cmd.exe has nothing to do, the launcher starts the program itself, console and windowed
// alike; anything else goes through cmd.exe. The stand-in records which process started it.
TEST_F(LaunchFileTest, ProgramStartsDirectlyWhereCmdHasNothingToDo) {
  if (!onWindows()) GTEST_SKIP() << "Linux always starts its program directly";
  struct Case {
    std::string launchFile;  // "": the default jar launch
    bool direct;             // the launcher starts it, not cmd.exe (or Wine's start.exe)
  };
  const Case cases[] = {
      {"java -Xmx512m %TOOL_OPTS% -cp %@..\\lib\\\"*\" com.example.Main %*", true},
      {"", true},
      {"java -Dk=" + std::string(20000, 'v') + " Main %*", true},
      {"java Main %* & rem", false},
      {"java Main %* > log.txt", false},
      {"start /wait java Main %*", false},
      {"run Main %*", false},  // a batch file along PATH
  };
  writeFile(join(javaDir, "run.bat"), "@\"" + javaDir + "\\java.exe\" %*\r\n");
  environment["KESTRELUNE_PARENT"] = root / "parent";
  for (const char* program : {"kestrelune", "kestrelunew"}) {
    launcherProgram = program;
    install("", program);
    for (const Case& c : cases) {
      removeFile(join(binDir, c.launchFile.empty() ? "tool.kestrelune" : "tool.jar"));
      writeFile(join(binDir, c.launchFile.empty() ? "tool.jar" : "tool.kestrelune"), c.launchFile);
      removeFile(root / "parent");
      RunResult result = launch("a \"b c\"");
      const Arguments arguments = record().arguments;
      const std::string where = program + (": " + c.launchFile.substr(0, 40));
      ASSERT_GE(arguments.size(), 2u) << where << "\n" << result.err;
      EXPECT_EQ(Arguments(arguments.end() - 2, arguments.end()), (Arguments{"a", "b c"})) << where;
      EXPECT_EQ(readFile(root / "parent") == "tool.exe", c.direct) << where;
      EXPECT_EQ(result.status, 0u) << where;
    }
  }
}

// An install folder whose name holds one of cmd.exe's command delimiters: the program word is
// quoted on the line, and the program reads the same arguments.
TEST_F(LaunchFileTest, InstallFolderWithCommandDelimiters) {
  if (!onWindows()) GTEST_SKIP() << "only cmd.exe reads delimiters in a command word";
  for (const std::string app : {"a,b", "a;b", "a=b", "x(86)"}) {
    install("%@rec.exe -cp %@..\\lib x %*", app);
    installChild(binDir, "rec.exe");
    RunResult result = launch("\"y z\"");
    ChildRecord child = record();
    EXPECT_EQ(child.raw, "\"" + bin() + "rec.exe\" -cp " + bin() + "..\\lib x \"y z\"")
        << app << "\n" << result.err;
    EXPECT_EQ(child.arguments, (Arguments{"-cp", bin() + "..\\lib", "x", "y z"})) << app;
    removeFile(root / "record");
  }
}

// A class path too long for cmd.exe (an @ of the launch file's own sends the line there) reaches
// java in CLASSPATH, every jar in order; the program's own arguments stay on the line as they were,
// and its status comes back. Wine's cmd.exe would crash on the whole line, so nothing here depends
// on how cmd.exe takes one too long. Started directly, the same line runs whole.
TEST_F(LaunchFileTest, LongClassPathMovesToTheEnvironment) {
  if (!onWindows()) GTEST_SKIP() << "only cmd.exe limits the line";
  install("@java -Xmx64m -cp %@..\\lib\\*.jar;%@..\\conf com.example.Main %*", "Example App");
  makeDirectory(join(appDir, "lib"));
  std::string classPath;
  for (int i = 1000; i < 1300; ++i) {  // names in the order the folder lists them
    const std::string jar = "j" + std::to_string(i) + ".jar";
    writeFile(join(join(appDir, "lib"), jar), "");
    classPath += bin() + "..\\lib\\" + jar + ";";
  }
  classPath += bin() + "..\\conf";
  environment["KESTRELUNE_EXIT"] = "7";
  const std::string arguments = "-cp \"a b\" %OS%";
  RunResult result = launch(arguments);
  ChildRecord child = record();
  EXPECT_EQ(child.raw, "java -Xmx64m com.example.Main " + arguments) << result.err;
  EXPECT_EQ(readFile(root / "record.classpath"), classPath);
  EXPECT_EQ(result.status, 7u);
  removeFile(root / "record.classpath");
  setLaunchFile("java -Xmx64m -cp %@..\\lib\\*.jar;%@..\\conf com.example.Main %*");
  result = launch(arguments);
  EXPECT_EQ(record().raw, "java -Xmx64m -cp \"" + classPath + "\" com.example.Main " + arguments)
      << result.err;
  EXPECT_THROW(readFile(root / "record.classpath"), std::runtime_error);
  EXPECT_EQ(result.status, 7u);
}

// Without /s, cmd.exe keeps the outer quotes of a line that has two quotes and a blank when they
// hold the name of a program file: a planted "java -version.exe" would run in place of java.
TEST_F(LaunchFileTest, OuterQuotesNeverNameAProgram) {
  if (!onWindows()) GTEST_SKIP() << "only cmd.exe reads the line";
  install("java -version");
  installChild(root.path(), "java -version.exe");
  RunResult result = launch("");
  EXPECT_EQ(record().raw, "java -version") << result.err;
}

// A launcher directory whose name ends in a double-byte character with 0x5C as its second byte.
TEST_F(LaunchFileTest, RealCodePageDoubleByteDirectory) {
  if (expectedCodePage != 932) GTEST_SKIP() << "needs code page 932";
  install("java -Dhome=%@ -cp %@lib\\*.jar Main", "app", "bin\x95\x5c");
  addJars(join(binDir, "lib"));
  RunResult result = launch();
  EXPECT_EQ(record().raw, "java -Dhome=" + bin() + " -cp " + bin() + "lib\\a.jar " + bin() +
                              "lib\\b.jar Main") << result.err;
  EXPECT_EQ(record().arguments.size(), 5u);
}

}  // namespace
}  // namespace test
