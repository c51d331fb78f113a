// Arguments typed in characters that the code page cannot represent. They arrive as "?", never as
// a look-alike ("best fit" would make a full-width quote a real one and regroup the arguments),
// and where %* inserts them a run of them is never a wildcard.
#include <windows.h>

#include <gtest/gtest.h>

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
};

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
