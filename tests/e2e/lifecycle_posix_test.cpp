// On Linux the launcher replaces itself with the program, so a signal sent to the launcher's
// process id reaches the program, and the caller sees the program's own status.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

class LifecyclePosixTest : public LaunchFixture {};

TEST_F(LifecyclePosixTest, TerminationReachesTheProgram) {
  if (wrapped()) GTEST_SKIP() << "the signal would reach the wrapper";
  installLauncher("tool");
  const std::string ready = root / "ready";
  writeFile(join(binDir, "tool.kestrelune"),
            "/bin/sh -c \"trap 'exit 42' TERM; touch '" + ready +
                "'; while true; do sleep 0.05; done\"");
  pid_t pid = fork();
  if (pid == 0) {
    execl(launcher.c_str(), launcher.c_str(), static_cast<char*>(nullptr));
    _exit(126);
  }
  ASSERT_GT(pid, 0);
  for (int waited = 0; waited < 300 && access(ready.c_str(), F_OK) != 0; ++waited) usleep(50000);
  ASSERT_EQ(access(ready.c_str(), F_OK), 0) << "the program never started";
  kill(pid, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 42);
}

}  // namespace
}  // namespace test
