// The native launcher with the real JVM: a jar compiled here, found by the default jar launch.
#include <gtest/gtest.h>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

const char kProgram[] = R"(public class Echo {
  public static void main(String[] args) {
    System.out.println(System.getProperty("mode") + " " + args.length);
    for (String arg : args) System.out.println("[" + arg + "]");
    System.exit(args.length == 0 ? 0 : Integer.parseInt(args[args.length - 1]));
  }
}
)";

TEST(RealJavaTest, DefaultJarLaunchRunsTheJvm) {
  if (separator() != "/") GTEST_SKIP() << "the JVM is only at hand on the native build";
  TempDir root;
  makeDirectory(root / "classes");
  makeDirectory(root / "bin");
  makeDirectory(root / "lib");
  writeFile(root / "Echo.java", kProgram);
  ASSERT_EQ(runProgram("/usr/bin/env", "javac -d " + (root / "classes") + " " + (root / "Echo.java")).status, 0u);
  ASSERT_EQ(runProgram("/usr/bin/env", "jar --create --file " + (root / "lib/echo.jar") +
                                           " --main-class Echo -C " + (root / "classes") + " .")
                .status,
            0u);
  copyExecutable(builtProgram("kestrelune"), root / "bin/echo");

  RunResult result = runProgram(root / "bin/echo", "\"two words\" 42", {{"ECHO_VMOPTIONS", "-Dmode=fast"}});
  EXPECT_EQ(result.out, "fast 2\n[two words]\n[42]\n") << result.err;
  EXPECT_EQ(result.status, 42u);
}

}  // namespace
}  // namespace test
