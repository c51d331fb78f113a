// Linux conventions end to end: the user's arguments reach the program exactly, options from a
// variable pass as written unless a pattern in them matches files, and names are used whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

class ArgumentsPosixTest : public LaunchFixture {
 protected:
  RunResult launchWith(const Arguments& arguments) {
    return runProgramWithArguments(launcher, arguments, environment, root.path());
  }
};

const Arguments kAwkward = {"{\"name\": \"x\"}", "", "*", "a  b", "\"q\"", "x\\"};

TEST_F(ArgumentsPosixTest, ArgumentsReachTheProgramExactly) {
  installLauncher("tool");
  writeFile(join(binDir, "tool.kestrelune"), "java Main %* -Dall=%*");
  RunResult result = launchWith(kAwkward);
  ASSERT_EQ(result.status, 0u) << result.err;
  Arguments expected = {"Main"};
  expected.insert(expected.end(), kAwkward.begin(), kAwkward.end());
  // Inside a longer token %* is the rebuilt tail, as ever: quotes gone, each enclosed, re-split
  // (an empty argument leaves nothing there).
  expected.insert(expected.end(), {"-Dall={name: x}", "*", "a  b", "q", "x\\"});
  EXPECT_EQ(record().arguments, expected);

  // The default jar launch passes them the same way.
  removeFile(join(binDir, "tool.kestrelune"));
  writeFile(join(binDir, "tool.jar"), "jar");
  result = launchWith(kAwkward);
  ASSERT_EQ(result.status, 0u) << result.err;
  expected = {"-jar", binDir + "//tool.jar"};
  expected.insert(expected.end(), kAwkward.begin(), kAwkward.end());
  EXPECT_EQ(record().arguments, expected);
}

TEST_F(ArgumentsPosixTest, OptionsFromAVariablePassAsWritten) {
  installLauncher("tool");
  writeFile(join(binDir, "tool.kestrelune"), "java %TOOL_OPTS% Main");
  for (const char* options : {"-agentlib:jdwp=transport=dt_socket,server=y,suspend=n,address=*:5005",
                              "-Xlog:gc*:file=/tmp/gc.log", "-Ddemo.prop=[::1]:8080"}) {
    environment["TOOL_OPTS"] = options;
    RunResult result = launchWith({});
    ASSERT_EQ(result.status, 0u) << result.err;
    EXPECT_EQ(record().arguments, (Arguments{options, "Main"}));
  }
}

TEST_F(ArgumentsPosixTest, VersionedNameReadsItsOwnLaunchFile) {
  installLauncher("tool-1.2");
  writeFile(join(binDir, "tool-1.2.kestrelune"), "java -Dversioned Main");
  writeFile(join(binDir, "tool-1.kestrelune"), "java -Dcut Main");
  RunResult result = launchWith({});
  ASSERT_EQ(result.status, 0u) << result.err;
  EXPECT_EQ(record().arguments, (Arguments{"-Dversioned", "Main"}));
}

}  // namespace
}  // namespace test
