// Running kestrelune-inspect in the end-to-end tests and reading its report back.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/launch_fixture.h"

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

/// The arguments listed under "program arguments" (POSIX), in order.
inline std::vector<std::string> printedProgramArguments(const std::string& report) {
  std::vector<std::string> arguments;
  size_t at = report.find("\nprogram arguments (");
  if (at == std::string::npos) return arguments;
  for (at = report.find('\n', at + 1); report.compare(at, 4, "\n  [") == 0;) {
    size_t start = report.find('|', at) + 1;
    size_t end = report.find('\n', start);
    arguments.push_back(report.substr(start, end - 1 - start));
    at = end;
  }
  return arguments;
}

/// Text as the report shows it: the blanks that are not spaces spelled out.
inline std::string shown(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\t' ? "<TAB>" : c == '\n' ? "<LF>" : c == '\r' ? "<CR>" : std::string(1, c);
  return out;
}

/// Windows: the child's raw command line is the printed one. POSIX: the launcher starts the first
/// of the printed program arguments with the rest.
inline void expectChildReceived(const ChildRecord& child, const std::string& report,
                                const std::string& printed, const std::string& what) {
  if (onWindows()) {
    EXPECT_EQ(shown(child.raw), printed) << what;
    return;
  }
  std::vector<std::string> words = printedProgramArguments(report);
  ASSERT_FALSE(words.empty()) << what << "\n" << report;
  EXPECT_EQ(words[0], "java") << what;
  EXPECT_EQ(child.arguments, std::vector<std::string>(words.begin() + 1, words.end())) << what;
}

}  // namespace test
