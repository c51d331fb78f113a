// Running kestrelune-inspect in the end-to-end tests and reading its report back.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "e2e/launch_fixture.h"
#include "launchfile/command_line.h"
#include "util/argument_split.h"

namespace test {

/// Runs the tool on launcher with the raw argument text after it.
inline RunResult runInspect(const std::string& launcher, const std::string& arguments,
                            const std::map<std::string, std::string>& environment,
                            const std::string& workingDirectory) {
  // On POSIX the test support splits the text into arguments; the quotes keep a path with blanks
  // one argument there as on Windows.
  return runProgram(builtProgram("kestrelune-inspect"),
                    "\"" + launcher + "\"" + (arguments.empty() ? "" : " " + arguments),
                    environment, workingDirectory);
}

/// The text between the bars of the "command line:" line; false when there is none.
inline bool printedCommandLine(const std::string& report, std::string* line) {
  const std::string label = "command line: |";
  size_t start = report.find(label);
  if (start == std::string::npos) return false;
  start += label.size();
  size_t end = report.find('\n', start);
  if (end == std::string::npos) return false;
  if (end > start && report[end - 1] == '\r') --end;  // the text-mode stream of Windows
  if (end <= start || report[end - 1] != '|') return false;
  *line = report.substr(start, end - 1 - start);
  return true;
}

/// Windows: the child's raw command line is the printed one. POSIX: the launcher splits the
/// printed line and starts its first word with the rest as arguments.
inline void expectChildReceived(const ChildRecord& child, const std::string& printed,
                                const std::string& what) {
  if (onWindows()) {
    EXPECT_EQ(child.raw, printed) << what;
    return;
  }
  TokenList words = splitLauncherArguments(CountedString(printed.c_str()));
  ASSERT_FALSE(words.empty()) << what;
  EXPECT_EQ(toString(words[0]), "java") << what;
  std::vector<std::string> arguments;
  for (size_t i = 1; i < words.size(); ++i) arguments.push_back(toString(words[i]));
  EXPECT_EQ(child.arguments, arguments) << what;
}

}  // namespace test
