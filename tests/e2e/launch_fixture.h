// An installed application for the end-to-end tests: the launcher copied under a name of our
// choice into app/bin, the recording child installed as java in jdk/bin and found along PATH.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "support/test_support.h"

namespace test {

/// The exit status a parent sees for the launcher's own -1.
inline uint32_t failureStatus() { return onWindows() ? 0xFFFFFFFFu : 255u; }

/// The launcher's messages go through the C runtime's text-mode standard error stream.
inline std::string messageLine(const std::string& text) {
  return text + (onWindows() ? "\r\n" : "\n");
}

class LaunchFixture : public testing::Test {
 protected:
  /// Installs the launcher as bin/<name> under directory app; ".exe" is added on Windows unless
  /// the name is given whole.
  void installLauncher(const std::string& name, const std::string& app = "app", bool whole = false,
                       const std::string& bin = "bin") {
    appDir = root / app;
    binDir = join(appDir, bin);
    makeDirectory(appDir);
    makeDirectory(binDir);
    launcher = join(binDir, name + (onWindows() && !whole ? ".exe" : ""));
    copyExecutable(builtProgram(launcherProgram), launcher);
  }

  void SetUp() override {
    makeDirectory(root / "jdk");
    makeDirectory(javaDir = join(root / "jdk", "bin"));
    installChild(javaDir, onWindows() ? "java.exe" : "java");
    const char* path = std::getenv("PATH");
    environment["PATH"] = javaDir + (onWindows() ? ";" : ":") + (path ? path : "");
    environment["KESTRELUNE_RECORD"] = root / "record";
  }

  /// Runs the launcher with the raw argument text and the fixture's environment.
  /// KESTRELUNE_TEST_WRAPPER, when set, is a program and its options (no quotes) put in front of
  /// the launcher, such as valgrind.
  RunResult launch(const std::string& arguments = "") {
    const char* wrapper = std::getenv("KESTRELUNE_TEST_WRAPPER");
    if (wrapper == nullptr || *wrapper == 0) {
      return runProgram(launcher, arguments, environment, root.path());
    }
    std::string text = wrapper;
    size_t blank = text.find(' ');
    std::string options = blank == std::string::npos ? "" : text.substr(blank + 1) + " ";
    return runProgram(text.substr(0, blank), options + "\"" + launcher + "\" " + arguments,
                      environment, root.path());
  }

  /// True when the launcher runs under a wrapper, which changes its memory and its speed.
  static bool wrapped() {
    const char* wrapper = std::getenv("KESTRELUNE_TEST_WRAPPER");
    return wrapper != nullptr && *wrapper != 0;
  }

  ChildRecord record() const { return readChildRecord(root / "record"); }

  /// No java along PATH (the system folder stays on Windows), in JAVA_HOME or JDK_HOME, or in
  /// SDKMAN's folder: only where the system keeps Java is left.
  void hideJava() {
    environment["PATH"] = root / "nowhere";
    if (onWindows()) environment["PATH"] += ";C:\\windows\\system32";
    environment["JAVA_HOME"] = kUnset;
    environment["JDK_HOME"] = kUnset;
    environment["HOME"] = root.path();
  }

  /// The line and status of a run that found no java once hideJava has run, or an empty line
  /// where the system keeps a Java runtime itself (Linux: /usr/lib/jvm; the test prefix's
  /// registry records none).
  static std::string javaNotFoundLine() {
    if (onWindows()) {
      return messageLine(
          "error: java was not found: not along PATH (2 folders), JAVA_HOME is not set, none in "
          "the registry (JavaSoft, Eclipse Adoptium, Eclipse Foundation, AdoptOpenJDK, "
          "Microsoft, Semeru, Zulu); install a Java runtime, or set JAVA_HOME to one");
    }
    std::error_code error;
    for (const auto& home : std::filesystem::directory_iterator("/usr/lib/jvm", error)) {
      if (std::filesystem::exists(home.path() / "bin" / "java", error)) return "";
    }
    return messageLine(
        "error: java was not found: not along PATH (1 folder), JAVA_HOME is not set, none in "
        "/usr/lib/jvm or ~/.sdkman/candidates/java/current; install a Java runtime, or set "
        "JAVA_HOME to one");
  }

  TempDir root;
  std::string launcherProgram = "kestrelune";  // what installLauncher copies
  std::string appDir, binDir, javaDir, launcher;
  std::map<std::string, std::string> environment;
};

}  // namespace test
