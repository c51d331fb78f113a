#include "launcher/run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace test {
namespace {

std::vector<std::string> commandLines(const CommandRequest& request) {
  std::vector<std::string> lines;
  for (int i = 0; i < request.startCount; ++i) {
    EXPECT_TRUE(request.starts[i].interpreter);
    lines.push_back(toString(request.starts[i].commandLine));
  }
  return lines;
}

// COMSPEC first, then the system's own interpreter. cmd.exe, by any path and in any case, gets
// its switches and the line escaped for it; another interpreter gets /c and the line as it is, and
// only a line without data, since it would let the data act. Every line gets the extra pair of
// quotes that /c takes off again.
TEST(RunCommandTest, InterpretersInTheOrderTheyAreTried) {
  const std::string system = "C:\\W\\System32\\cmd.exe";
  const std::string forCmd = " /d /s /e:on /v:off /c \"java \"a b\" x^&y\"";
  const std::string unescaped = "/c \"java \"a b\" x&y\"";
  struct Case {
    const char* comspec;
    std::vector<std::string> lines;
    bool data = true;  // x&y came from the user
  };
  const Case cases[] = {
      {"", {system + forCmd}},
      {"C:\\w\\CMD.EXE", {"C:\\w\\CMD.EXE" + forCmd, system + forCmd}},
      {"D:/x/cmd.exe", {"D:/x/cmd.exe" + forCmd, system + forCmd}},
      {"C:\\other\\tcc.exe", {system + forCmd}},
      {"C:\\other\\tcc.exe",
       {"C:\\other\\tcc.exe " + unescaped, system + " /d /s /e:on /v:off " + unescaped},
       false},
  };
  ScopedTextSettings settings(builtinCodePage(932), test::windowsStyles());
  for (const Case& c : cases) {
    CommandRequest request;
    request.line = "java \"a b\" x&y";
    if (c.data) request.lineDataMarks = counted(std::string(11, '\0') + "\1\1\1");
    EXPECT_EQ(addInterpreters(c.comspec, system.c_str(), &request), -1);
    EXPECT_EQ(commandLines(request), c.lines) << c.comspec;
  }
  CommandRequest empty;
  addInterpreters("", system.c_str(), &empty);
  EXPECT_EQ(commandLines(empty),
            std::vector<std::string>{system + " /d /s /e:on /v:off /c "});
  // A line break in data stops the request: cmd.exe cannot pass it on.
  CommandRequest broken;
  broken.line = "java a\nb";
  broken.lineDataMarks = counted(std::string(5, '\0') + "\1\1\1");
  EXPECT_EQ(addInterpreters("", system.c_str(), &broken), 6);
  EXPECT_EQ(broken.startCount, 0);
}

}  // namespace
}  // namespace test
