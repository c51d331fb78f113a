// The whole launch-file pipeline, in process, on inputs that no one writes on purpose: malformed
// double-byte text, a hundred thousand tokens, a megabyte-long variable. Each yields the tokens and
// command line that the stages define for it, in time linear in its size.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "launcher/pipeline.h"
#include "support/test_support.h"
#include "util/argument_split.h"
#include "util/paths.h"

namespace {

using Strings = std::vector<std::string>;

class RobustnessTest : public testing::Test {
 protected:
  ProcessFacts facts_;

  /// Writes the launch file and runs every stage on it.
  LaunchFileStages build(const std::string& bytes) {
    std::string path = dir_ / "tool.kestrelune";
    test::writeFile(path, bytes);
    LaunchFileStages stages;
    EXPECT_TRUE(buildLaunchFileCommand(CountedString(path.c_str()), facts_, &stages));
    return stages;
  }

  test::TempDir dir_;
};

template <typename F>
double secondsOf(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/// The line of the stages: in the Windows style %* is text, so no facts are needed.
CountedString lineOf(const LaunchFileStages& stages) {
  return commandOf(stages.form, ProcessFacts()).line;
}

/// The arguments a child's C runtime makes of the command line: what is finally run.
Strings arguments(const LaunchFileStages& stages) {
  return test::toStrings(splitWindowsArguments(lineOf(stages)));
}

struct LeadByteCase {
  uint32_t codePage;
  std::string file;
  Strings arguments;
};

// A lead byte with no second byte (at the end of the text, or before a zero byte) stays a one-byte
// character: nothing is read past the text and no byte is lost. The quote that stage 3 puts after
// it then becomes its second byte, so the argument ends in that pair, and nothing else changes.
TEST_F(RobustnessTest, LeadByteWithoutItsSecondByte) {
  const LeadByteCase cases[] = {
      {932, "java -x\x81", {"java", "-x\x81\""}},
      {932, "java -x\x81\r\n", {"java", "-x\x81\n"}},  // 0x81 takes the LF left of CR LF
      {932, std::string("java -x\x81\0 -y", 12), {"java", "-x\x81\""}},
      {932, "java \"a b\x81", {"java", "a b\x81\""}},
      {932, "java -a \x81 -b", {"java", "-a", "\x81 -b"}},  // a blank as a second byte
      {936, "java %\xfe", {"java", "%\xfe\""}},
      {949, "java a;\xfe", {"java", "a;\xfe\""}},
      {950, "\x81", {"\x81\""}},
      {1361, "java \xd8", {"java", "\xd8\""}},
      {1252, "java -x\x81", {"java", "-x\x81"}},  // no lead bytes: an ordinary byte
  };
  for (const LeadByteCase& c : cases) {
    test::ScopedTextSettings settings(builtinCodePage(c.codePage), test::windowsStyles());
    EXPECT_EQ(arguments(build(c.file)), c.arguments) << c.codePage << " " << c.file;
  }
}

TEST_F(RobustnessTest, HundredThousandTokens) {
  const int count = 100000;
  std::string file = "java";
  for (int i = 0; i < count; ++i) file += " -Dk" + std::to_string(i % 10) + "=\"v w\"";
  test::ScopedTextSettings settings(builtinCodePage(0), test::windowsStyles());
  LaunchFileStages stages;
  double seconds = secondsOf([&] { stages = build(file); });
  Strings args = arguments(stages);
  ASSERT_EQ(args.size(), static_cast<size_t>(count) + 1);
  EXPECT_EQ(args[count], "-Dk9=v w");
  EXPECT_EQ(lineOf(stages).length(), 4 + count * 11);  // " \"-Dk0=v w\"" each
  EXPECT_LT(seconds, 10.0);  // linear: a fraction of a second; quadratic would take minutes
}

// A megabyte-long value, inserted by every kind of variable macro, arrives whole.
TEST_F(RobustnessTest, MegabyteEnvironmentValue) {
  const size_t half = 1 << 19;
  const std::string value(2 * half, 'v');
  const std::string spaced = std::string(half, 'a') + " " + std::string(half, 'b');
  facts_.environment = Environment({CountedString(("BIG=" + value).c_str()),
                                    CountedString(("SPACED=" + spaced).c_str())});
  test::ScopedTextSettings settings(builtinCodePage(932), test::windowsStyles());
  LaunchFileStages stages;
  double seconds = secondsOf([&] { stages = build("java -Dbig=%BIG% %BIG% %SPACED% x%SPACED%"); });
  // Not printed on failure: megabytes of v help no one.
  EXPECT_TRUE(arguments(stages) == (Strings{"java", "-Dbig=" + value, value, spaced.substr(0, half),
                                            spaced.substr(half + 1), "x" + spaced}));
  EXPECT_LT(seconds, 10.0);
}

}  // namespace
