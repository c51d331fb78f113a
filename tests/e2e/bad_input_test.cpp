// The installed launcher against inputs no one writes on purpose: huge, binary, unbalanced,
// unopenable and oversized launch files, environments and command lines, and every kind of exit
// status. Each ends with the command it builds or with one clear error line and its status, in time
// linear in its size, never with a crash or a hang.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "e2e/launch_fixture.h"
#include "launcher/pipeline.h"
#include "support/real_code_page.h"
#include "util/argument_split.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

template <typename F>
double secondsOf(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/// bytes of filler: lines of blanks, or of one repeated letter, each ended by CR LF.
std::string filler(size_t bytes, char fill) {
  std::string line(78, fill);
  line += "\r\n";
  std::string text;
  text.reserve(bytes + line.size());
  while (text.size() < bytes) text += line;
  return text;
}

class BadInputTest : public LaunchFixture {
 protected:
  void install(const std::string& bytes) {
    installLauncher("tool");
    launchFile = join(binDir, "tool.kestrelune");
    writeFile(launchFile, bytes);
  }

  /// What the child's arguments must be: the launcher's own stages run here, in process, and
  /// the line split as the child's C runtime (Windows) or the launcher (POSIX) splits it.
  Arguments expectedArguments() const {
    LaunchFileStages stages;
    const ProcessFacts facts;  // no arguments, no variables
    EXPECT_TRUE(buildLaunchFileCommand(CountedString(launchFile.c_str()), facts, &stages));
    CountedString line = commandOf(stages.form, facts).line;
    TokenList split = onWindows() ? splitWindowsArguments(line) : splitLauncherArguments(line);
    Arguments arguments = toStrings(split);
    if (!arguments.empty()) arguments.erase(arguments.begin());  // java itself
    return arguments;
  }

  /// The status and the standard error of the interpreter given the line directly, without the
  /// launcher: what the launcher must pass on unchanged.
  RunResult interpreterAlone(const std::string& line) {
    return runProgram("C:\\windows\\system32\\cmd.exe", "/c \"" + line + "\"", environment,
                      root.path());
  }

  std::string launchFile;
};

TEST_F(BadInputTest, HundredMegabyteLaunchFile) {
  if (wrapped()) GTEST_SKIP() << "too slow under a wrapper";
  install("java -Dx=1\r\n" + filler(100 << 20, ' ') + " Main\r\n");
  RunResult result;
  double seconds = secondsOf([&] { result = launch(); });
  EXPECT_EQ(record().arguments, (Arguments{"-Dx=1", "Main"})) << result.err;
  EXPECT_EQ(result.status, 0u);
  EXPECT_EQ(result.err, "");
  EXPECT_LT(seconds, 60.0);  // a second or two; quadratic work would take hours
}

struct BinaryCase {
  const char* name;
  std::string bytes;
  bool runs;  // false: nothing to run, status 0
  Arguments arguments;
};

TEST_F(BadInputTest, BinaryLaunchFiles) {
  const BinaryCase cases[] = {
      {"NUL in the middle", std::string("java -a\0 -b\r\n-c", 16), true, {"-a"}},
      {"NUL first", std::string("\0java -a", 8), false, {}},
      {"Ctrl-Z in the middle", "java -a \x1a -b", true, {"-a"}},
      {"unbalanced quote", "java -x \"-Da=b c", true, {"-x", "-Da=b c"}},
      {"quote alone at the end", "java -x \"", true, {"-x"}},
  };
  install("");
  for (const BinaryCase& c : cases) {
    removeFile(root / "record");
    writeFile(launchFile, c.bytes);
    RunResult result = launch();
    EXPECT_EQ(result.status, 0u) << c.name;
    EXPECT_EQ(result.err, "") << c.name;
    EXPECT_EQ(record().present, c.runs) << c.name;
    EXPECT_EQ(record().arguments, c.arguments) << c.name;
  }
}

// Random bytes (with no macro or wildcard, which would depend on this machine) after the word
// java: the child gets exactly the arguments that the stages make of them.
TEST_F(BadInputTest, RandomBytes) {
  std::mt19937 random(20240607);
  // The interpreter reads the line as commands: its own operators and line ends stay out.
  const std::string excluded = onWindows() ? "%*?&|<>^()!\r\n" : "%*?";
  for (int round = 0; round < 4; ++round) {
    std::string bytes = "java ";
    while (bytes.size() < (onWindows() ? 2000u : 65536u)) {
      unsigned char byte = static_cast<unsigned char>(random());
      if (onWindows() && (byte < 0x20 || byte > 0x7E) && byte != '\t') continue;
      if (byte == 0 || byte == 0x1A || excluded.find(static_cast<char>(byte)) != std::string::npos) continue;
      bytes += static_cast<char>(byte);
    }
    if (round == 0) install(bytes); else writeFile(launchFile, bytes);
    RunResult result = launch();
    EXPECT_EQ(result.status, 0u) << round << result.err;
    EXPECT_EQ(result.err, "") << round;
    EXPECT_EQ(record().arguments, expectedArguments()) << round;
  }
}

// A lead byte without its second byte, for real, in code page 932.
TEST_F(BadInputTest, RealCodePageLeadByteAsTheLastByte) {
  if (expectedCodePage != 932) GTEST_SKIP() << "needs code page 932";
  install("java -x \x81");
  RunResult result = launch();
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 0u);
  // The quote that stage 3 adds becomes the lead byte's second byte, an invalid pair, which the
  // interpreter's conversion to Unicode replaces by a character of its choice: nothing is lost
  // or merged, and no byte from past the text is read.
  Arguments arguments = record().arguments;
  ASSERT_EQ(arguments.size(), 2u);
  EXPECT_EQ(arguments[0], "-x");
  EXPECT_EQ(arguments[1].substr(0, 1), "\x81");
}

TEST_F(BadInputTest, HundredThousandTokens) {
  std::string file = "java";
  for (int i = 0; i < 100000; ++i) file += " -Dk=v";
  install(file);
  RunResult result;
  double seconds = secondsOf([&] { result = launch(); });
  EXPECT_LT(seconds, 60.0);
  if (onWindows()) {
    // Far past what Windows starts: one line, and no interpreter is tried.
    EXPECT_EQ(result.err.rfind("error: the command line is ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find(" characters long; Windows accepts at most 32766\r\n"),
              std::string::npos) << result.err;
    EXPECT_EQ(result.status, failureStatus());
    EXPECT_FALSE(record().present);
  } else {
    EXPECT_EQ(result.status, 0u) << result.err;
    EXPECT_EQ(record().arguments, Arguments(100000, "-Dk=v"));
  }
}

// Linux takes at most 128 kB for one "NAME=value" of an environment, and the Windows interpreter
// 8,191 characters of command line (Wine's crashes on 32 kB): a value of that size arrives whole.
TEST_F(BadInputTest, LargeEnvironmentValue) {
  const std::string value(onWindows() ? 4000 : 120000, 'v');
  install("java -Dbig=%BIG% %BIG%");
  environment["BIG"] = value;
  RunResult result = launch();
  EXPECT_EQ(result.status, 0u) << result.err;
  EXPECT_EQ(record().arguments, (Arguments{"-Dbig=" + value, value}));
}

TEST_F(BadInputTest, ExecutablePathLongerThan260Bytes) {
  try {
    installLauncher("tool", std::string(120, 'a'), false, std::string(150, 'b'));
  } catch (const std::runtime_error& error) {
    GTEST_SKIP() << "Wine cannot create such a directory: " << error.what();
  }
  ASSERT_GT(launcher.size(), 300u);
  writeFile(join(binDir, "tool.kestrelune"), "java -Dhome=%@ Main");
  RunResult result = launch();
  if (onWindows() && !record().present) GTEST_SKIP() << "Wine cannot start a program there";
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(record().arguments, (Arguments{"-Dhome=" + binDir + separator(), "Main"}));
}

TEST_F(BadInputTest, LaunchFileThatCannotBeOpened) {
  installLauncher("tool");
  std::string path = join(binDir, "tool.kestrelune");
  writeFile(join(binDir, "tool.jar"), "never looked for");
  UnopenableFile unopenable(path);
  RunResult result = launch();
  EXPECT_EQ(result.err, messageLine("error: cannot open " + path));
  EXPECT_EQ(result.status, failureStatus());
  EXPECT_FALSE(record().present);
}

// A named pipe that no one writes to reads as an empty launch file; it must not wait for a writer.
TEST_F(BadInputTest, LaunchFileThatIsAPipe) {
  installLauncher("tool");
  if (!makeFifo(join(binDir, "tool.kestrelune"))) GTEST_SKIP() << "no named pipes here";
  RunResult result;
  double seconds = secondsOf([&] { result = launch(); });
  EXPECT_EQ(result.status, 0u);
  EXPECT_EQ(result.err, "");
  EXPECT_LT(seconds, 30.0);
}

// Nowhere else the system keeps one, java is not found: one line naming where the launcher
// looked, with the status the interpreter or a shell gives.
TEST_F(BadInputTest, MissingJava) {
  install("java -cp x Main");
  hideJava();
  RunResult result = launch();
  EXPECT_FALSE(record().present);
  const std::string notFound = javaNotFoundLine();
  if (notFound.empty()) GTEST_SKIP() << "this system keeps a Java runtime of its own";
  EXPECT_EQ(result.err, notFound);
  EXPECT_EQ(result.status, onWindows() ? 9009u : 127u);
}

// A COMSPEC that is unset or cannot be started, for whatever reason, leaves the command to the
// system's own interpreter, which runs the line unchanged; on POSIX, where there is no
// interpreter, the variable means nothing.
TEST_F(BadInputTest, InvalidComspec) {
  install("java \"a b\" Main");
  std::string notAProgram = root / "notes.txt";
  writeFile(notAProgram, "not a program");
  environment["KESTRELUNE_EXIT"] = "3";
  for (const std::string& comspec : {notAProgram, root.path(), root / "nowhere" + "\\cmd.exe",
                                     std::string(5000, 'x'), std::string(kUnset)}) {
    removeFile(root / "record");
    environment["COMSPEC"] = comspec;
    RunResult result = launch();
    EXPECT_EQ(result.err, "") << comspec.substr(0, 60);
    EXPECT_EQ(result.status, 3u) << comspec.substr(0, 60);
    EXPECT_EQ(record().arguments, (Arguments{"a b", "Main"})) << comspec.substr(0, 60);
  }
}

// A line longer than the interpreter takes (an @ of the launch file's own sends it there): its
// refusal is passed on, with nothing added.
TEST_F(BadInputTest, CommandLineLongerThanTheInterpreterAccepts) {
  if (wrapped()) GTEST_SKIP() << "valgrind dies when an exec fails for its size";
  std::string line = onWindows() ? "@java -Dk=" + std::string(9000, 'v')
                                 : "java -Dk=" + std::string(200000, 'v');
  install(line);
  RunResult result = launch();
  EXPECT_FALSE(record().present);
  if (onWindows()) {
    RunResult alone = interpreterAlone(line);
    EXPECT_EQ(result.status, alone.status);
    EXPECT_EQ(result.err, alone.err);
    EXPECT_EQ(result.out, alone.out);
  } else {
    EXPECT_EQ(result.err, messageLine("error: cannot run java: Argument list too long"));
    EXPECT_EQ(result.status, 127u);
  }
}

TEST_F(BadInputTest, ExitStatusesPassThroughExactly) {
  install("java Main");
  for (uint32_t status : {0u, 1u, 3u, 255u, 256u, 0xFFFFFFFFu, 0xC0000005u}) {
    environment["KESTRELUNE_EXIT"] = std::to_string(status);
    RunResult result = launch();
    // POSIX keeps the low byte of a status, the platform's truncation.
    EXPECT_EQ(result.status, onWindows() ? status : status & 0xFFu) << status;
    EXPECT_EQ(result.err, "") << status;
  }
}

// Out of memory: one line and status -1, never a crash. The launch file is larger than the
// address space the launcher is given; a small one runs under the same limit.
TEST_F(BadInputTest, OutOfMemory) {
  if (kAddressSanitizer || wrapped()) GTEST_SKIP() << "the sanitizer or wrapper owns the memory";
  const uint64_t limit = 96ull << 20;
  install("java Main");
  RunResult small;
  if (!runProgramWithMemoryLimit(launcher, "", environment, root.path(), limit, &small)) {
    GTEST_SKIP() << "no memory limit for one program on this platform";
  }
  EXPECT_EQ(small.status, 0u) << small.err;
  EXPECT_TRUE(record().present);

  removeFile(root / "record");
  writeFile(launchFile, "java " + filler(200 << 20, 'x'));
  RunResult result;
  runProgramWithMemoryLimit(launcher, "", environment, root.path(), limit, &result);
  EXPECT_EQ(result.err, messageLine("error: out of memory"));
  EXPECT_EQ(result.status, failureStatus());
  EXPECT_FALSE(record().present);
}

}  // namespace
}  // namespace test
