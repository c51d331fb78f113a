// What the user supplies stays data: arguments pass through the launcher and Wine's real cmd.exe
// exactly, with no operator, variable or quote of theirs acting. And arguments typed in
// characters that the code page cannot represent arrive as "?", never as a look-alike ("best
// fit" would make a full-width quote a real one and regroup the arguments), and where %* inserts
// them a run of them is never a wildcard.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "e2e/launch_fixture.h"
#include "support/real_code_page.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

class ArgumentsWin32Test : public LaunchFixture {
 protected:
  /// Starts the launcher with a wide command line, as Explorer or a UTF-16 shell does, in the
  /// fixture's folder and with its PATH and record file set in this process.
  DWORD launchWide(const std::wstring& arguments) {
    SetEnvironmentVariableA("PATH", environment["PATH"].c_str());
    SetEnvironmentVariableA("KESTRELUNE_RECORD", environment["KESTRELUNE_RECORD"].c_str());
    std::wstring program(launcher.begin(), launcher.end());  // the test folders are ASCII
    std::wstring line = L"\"" + program + L"\" " + arguments;
    std::wstring directory(root.path().begin(), root.path().end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
      ADD_FAILURE() << "cannot start the launcher: " << GetLastError();
      return 0xDEAD;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0xDEAD;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }

  /// The ways the user's arguments reach java: a launch file's whole-token %*, started directly or
  /// (an @ of the launch file's own) through cmd.exe, and the default jar launch.
  void useMode(bool launchFile, bool throughInterpreter = false) {
    if (launchFile) {
      removeFile(join(binDir, "tool.jar"));
      writeFile(join(binDir, "tool.kestrelune"), throughInterpreter ? "@java %*" : "java %*");
    } else {
      removeFile(join(binDir, "tool.kestrelune"));
      writeFile(join(binDir, "tool.jar"), "jar");
    }
  }

  /// Runs the launcher with the arguments quoted as a caller's C runtime writes them, and checks
  /// that java got exactly them, that its status came back, and that nothing else was written
  /// where the launcher ran.
  ChildRecord expectExact(const Arguments& sent, bool launchFile, const std::string& where) {
    std::string line;
    for (const std::string& argument : sent) line += (line.empty() ? "" : " ") + quoted(argument);
    removeFile(root / "record");
    RunResult result = launch(line);
    const ChildRecord child = record();
    Arguments arguments = child.arguments;
    if (!launchFile && arguments.size() >= 2) arguments.erase(arguments.begin(), arguments.begin() + 2);
    EXPECT_EQ(arguments, sent) << where << "\nline: " << line << "\n" << result.err;
    EXPECT_EQ(result.status, 7u) << where << "\nline: " << line;
    EXPECT_EQ(entriesOf(root.path()), (Arguments{"app", "jdk", "record"})) << where << "\nline: " << line;
    return child;
  }

  /// One argument as the C runtime reads it back: what Python, .NET and Java write.
  static std::string quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
      if (c == '\\') {
        ++backslashes;
        continue;
      }
      out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
      backslashes = 0;
      out += c;
    }
    return out + std::string(2 * backslashes, '\\') + "\"";
  }

  static Arguments entriesOf(const std::string& directory) {
    Arguments names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = entry.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
  }
};

const char* modeName(bool launchFile) { return launchFile ? "java %*" : "default jar"; }

TEST_F(ArgumentsWin32Test, HostileArgumentsStayData) {
  installLauncher("tool");
  environment["KESTRELUNE_EXIT"] = "7";
  const Arguments rows[] = {
      {"a&cd>f"}, {"a|b"}, {"<x"}, {">x"}, {"a^b"}, {"^"}, {"(x)"},
      {"%OS%"}, {"\"%OS%\""}, {"%CD%"}, {"%RANDOM%"}, {"%OS:~0,3%"}, {"%PATH:a=b%"}, {"%%"},
      {"50%"}, {"%NOT_SET%"}, {"!OS!"},
      {"a\"b"}, {"a\\\"b"}, {"\""}, {""}, {"C:\\My Files\\"}, {"*"}, {"{\"k\": 1}"},
      {"a\" & cd>f & \"b"}, {"", "x y", "", "&"},
  };
  useMode(false);
  for (const Arguments& row : rows) expectExact(row, false, modeName(false));
  // Through cmd.exe the program gets the very line it gets when started directly, an empty %*
  // (its trailing blank) included.
  std::vector<std::string> direct;
  useMode(true);
  for (const Arguments& row : rows) direct.push_back(expectExact(row, true, "java %*").raw);
  direct.push_back(expectExact({}, true, "java %*").raw);
  useMode(true, true);
  for (size_t i = 0; i < direct.size(); ++i) {
    const Arguments row = i < std::size(rows) ? rows[i] : Arguments{};
    EXPECT_EQ(expectExact(row, true, "@java %*").raw, direct[i]) << i;
  }
}

// A line break cannot pass through cmd.exe: the launcher refuses it and starts nothing.
TEST_F(ArgumentsWin32Test, LineBreakInAnArgumentIsRefused) {
  installLauncher("tool");
  useMode(true);
  RunResult result = launch("x \"a\nb\"");
  EXPECT_EQ(result.err, messageLine("error: argument 2 holds a line break, which the command "
                                    "interpreter cannot pass on"));
  EXPECT_EQ(result.status, failureStatus());
  EXPECT_FALSE(record().present);
}

// Random argument lists from an alphabet of everything cmd.exe or the C runtime treats specially.
TEST_F(ArgumentsWin32Test, GeneratedArgumentsStayData) {
  installLauncher("tool");
  environment["KESTRELUNE_EXIT"] = "7";
  const std::string alphabet = "a &|<>^()%!\"\\*?{}:~=,;";
  const char* fixed = std::getenv("KESTRELUNE_SEED");
  const unsigned seed = fixed != nullptr ? static_cast<unsigned>(std::strtoul(fixed, nullptr, 10))
                                         : std::random_device()();
  std::printf("seed %u (KESTRELUNE_SEED=%u repeats it)\n", seed, seed);
  std::mt19937 random(seed);
  for (bool launchFile : {true, false}) {
    useMode(launchFile);
    for (int run = 0; run < 100 && !HasFailure(); ++run) {
      Arguments sent(1 + random() % 4);
      for (std::string& argument : sent) {
        for (size_t n = random() % 7; n > 0; --n) argument += alphabet[random() % alphabet.size()];
      }
      expectExact(sent, launchFile, std::string(modeName(launchFile)) + ", seed " +
                                        std::to_string(seed) + ", run " + std::to_string(run));
    }
  }
}

// In code page 932 a double-byte character may end in 0x5E or 0x7C, which cmd.exe never reads
// as a caret or a pipe.
TEST_F(ArgumentsWin32Test, RealCodePageDoubleByteCaretAndPipe) {
  if (expectedCodePage != 932) GTEST_SKIP() << "needs code page 932";
  installLauncher("tool");
  environment["KESTRELUNE_EXIT"] = "7";
  for (bool launchFile : {true, false}) {
    useMode(launchFile);
    expectExact({"\x83\x5e&x", "\x83\x7c"}, launchFile, modeName(launchFile));
  }
}

TEST_F(ArgumentsWin32Test, RealCodePageCharactersOutsideTheCodePage) {
  if (expectedCodePage != 1252 && expectedCodePage != 932) GTEST_SKIP() << "needs 1252 or 932";
  installLauncher("tool");
  writeFile(root / "ab", "");  // what "??" would match as a wildcard
  writeFile(root / "cd", "");
  // 日本, then one argument holding a full-width quote, then a division slash.
  const std::wstring typed = L"\u65e5\u672c \"x\uff02 y\" a\u2215b";
  const char* const launchFiles[] = {"java %*", nullptr};  // then the default jar launch
  for (const char* launchFile : launchFiles) {
    if (launchFile != nullptr) {
      writeFile(join(binDir, "tool.kestrelune"), launchFile);
    } else {
      removeFile(join(binDir, "tool.kestrelune"));
      writeFile(join(binDir, "tool.jar"), "jar");
    }
    removeFile(root / "record");
    EXPECT_EQ(launchWide(typed), 0u);
    Arguments arguments = record().arguments;
    if (launchFile == nullptr) arguments.erase(arguments.begin(), arguments.begin() + 2);  // -jar
    if (expectedCodePage == 1252) {
      EXPECT_EQ(arguments, (Arguments{"??", "x? y", "a?b"})) << (launchFile ? launchFile : "jar");
    } else {  // 932 holds the Japanese characters and the full-width quote; not the slash
      ASSERT_EQ(arguments.size(), 3u);
      EXPECT_EQ(arguments[0], "\x93\xfa\x96\x7b");
      EXPECT_EQ(arguments[2], "a?b");
    }
  }
}

}  // namespace
}  // namespace test
