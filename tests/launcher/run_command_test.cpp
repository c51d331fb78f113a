#include "launcher/run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace test {
namespace {

// COMSPEC first, then the system's interpreter in the current directory and along PATH; every
// line gets the extra pair of quotes that cmd /c takes off again.
TEST(RunCommandTest, InterpretersInTheOrderTheyAreTried) {
  struct Case {
    const char* comspec;
    const char* path;
    std::vector<std::string> interpreters;
  };
  const Case cases[] = {
      {"C:\\w\\cmd.exe", "", {"C:\\w\\cmd.exe", "cmd.exe"}},
      {"", "C:\\a;;C:\\b\\;D:/c/", {"cmd.exe", "C:\\a\\cmd.exe", "C:\\b\\cmd.exe", "D:/c/cmd.exe"}},
      {"", ";", {"cmd.exe"}},
      {"", "\x95\x5c", {"cmd.exe", "\x95\x5c\\cmd.exe"}},  // in 932 a second byte is no separator
  };
  ScopedTextSettings settings(builtinCodePage(932), test::windowsStyles());
  for (const Case& c : cases) {
    CommandRequest request;
    request.line = "java \"a b\"";
    addInterpreters(c.comspec, "cmd.exe", c.path, &request);
    EXPECT_EQ(toStrings(request.interpreters), c.interpreters) << c.path;
    ASSERT_EQ(request.interpreterLines.size(), c.interpreters.size());
    for (size_t i = 0; i < c.interpreters.size(); ++i) {
      std::string name = i == 0 && *c.comspec != 0 ? c.comspec : "cmd.exe";
      EXPECT_EQ(toString(request.interpreterLines[i]), name + " /c \"java \"a b\"\"");
    }
  }
  CommandRequest empty;
  addInterpreters("", "cmd.exe", "", &empty);
  EXPECT_EQ(toStrings(empty.interpreterLines), std::vector<std::string>{"cmd.exe /c "});
}

}  // namespace
}  // namespace test
