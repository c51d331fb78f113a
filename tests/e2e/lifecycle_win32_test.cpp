// The launcher stands in for its program until the program ends: Ctrl-C waits for the program's
// shutdown hooks and passes its status on, a killed launcher takes the program with it, a process
// left running on purpose survives, and a line too long for Windows fails with one clear line.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

/// Polls for a file that a stand-in writes when it has come that far.
bool waitForFile(const std::string& path, DWORD milliseconds = 15000) {
  for (DWORD waited = 0;; waited += 50) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    if (waited >= milliseconds) return false;
    Sleep(50);
  }
}

/// A process by its id, for waiting on it and ending it.
HANDLE openProcess(const std::string& pidFile) {
  DWORD pid = static_cast<DWORD>(std::stoul(readFile(pidFile)));
  return OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
}

class LifecycleTest : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    stand = builtProgram("lifecycle_child");
    makeDirectory(marks = root / "marks");
    installLauncher("tool");
  }

  /// The stand-in starts directly; through the interpreter where a % of the launch file's own,
  /// which cmd.exe leaves alone, asks for it.
  void install(const std::string& mode, bool throughInterpreter = false) {
    writeFile(join(binDir, "tool.kestrelune"), "\"" + stand + "\" " + mode + " \"" + marks + "\"" +
                                                   (throughInterpreter ? " %%" : ""));
  }

  /// Starts the launcher in this process's console and environment, output to files.
  PROCESS_INFORMATION start() {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA((root / "out").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = startup.hStdError = out;
    std::string line = "\"" + launcher + "\"";
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(launcher.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  root.path().c_str(), &startup, &process);
    CloseHandle(out);
    EXPECT_TRUE(started) << GetLastError();
    return process;
  }

  static DWORD finish(const PROCESS_INFORMATION& process, DWORD milliseconds = 15000) {
    DWORD code = 0xDEAD;
    if (WaitForSingleObject(process.hProcess, milliseconds) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &code);
    } else {
      TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }

  std::string stand, marks;
};

BOOL WINAPI keepRunning(DWORD) { return TRUE; }

TEST_F(LifecycleTest, CtrlCWaitsForTheProgramAndPassesItsStatusOn) {
  // The events need a console that this test owns. Wine's cmd.exe ends at once on Ctrl-C, where
  // Windows' waits for its child, so the interpreter is a stand-in that behaves as Windows' does.
  // Wine ignores the Unix COMSPEC: it is set here, in the Windows process that starts the launcher.
  FreeConsole();
  AllocConsole();
  SetConsoleCtrlHandler(keepRunning, TRUE);  // after AllocConsole, which resets the handlers
  SetEnvironmentVariableA("COMSPEC", stand.c_str());
  for (bool throughInterpreter : {true, false}) {
    for (const char* mark : {"ready", "event", "done"}) removeFile(join(marks, mark));
    install("hooks", throughInterpreter);
    PROCESS_INFORMATION process = start();
    ASSERT_TRUE(waitForFile(join(marks, "ready")));
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    DWORD status = finish(process);
    EXPECT_TRUE(waitForFile(join(marks, "event"), 0)) << "the program never saw Ctrl-C";
    EXPECT_TRUE(waitForFile(join(marks, "done"), 0)) << "the launcher ended before the program";
    EXPECT_EQ(status, 130u) << readFile(root / "out");
  }
  SetEnvironmentVariableA("COMSPEC", nullptr);
}

TEST_F(LifecycleTest, KilledLauncherTakesItsProgramWithIt) {
  for (bool throughInterpreter : {true, false}) {
    removeFile(join(marks, "pid"));
    install("sleep", throughInterpreter);
    PROCESS_INFORMATION process = start();
    ASSERT_TRUE(waitForFile(join(marks, "pid")));
    HANDLE program = openProcess(join(marks, "pid"));
    ASSERT_NE(program, nullptr);
    TerminateProcess(process.hProcess, 1);
    finish(process);
    bool gone = WaitForSingleObject(program, 2000) == WAIT_OBJECT_0;
    if (!gone) TerminateProcess(program, 1);
    CloseHandle(program);
    EXPECT_TRUE(gone) << "the program outlived the killed launcher";
  }
}

TEST_F(LifecycleTest, ProcessLeftRunningOnPurposeSurvivesANormalEnd) {
  install("detach");
  RunResult result = launch();
  EXPECT_EQ(result.status, 0u) << result.err;
  ASSERT_TRUE(waitForFile(join(marks, "pid")));
  HANDLE detached = openProcess(join(marks, "pid"));
  ASSERT_NE(detached, nullptr);
  bool running = WaitForSingleObject(detached, 1000) == WAIT_TIMEOUT;
  TerminateProcess(detached, 1);
  CloseHandle(detached);
  EXPECT_TRUE(running) << "the job ended a process the program left running on purpose";
}

// The whole line started counts: for the interpreter COMSPEC, " /c " and the line in its pair of
// quotes (a % of the launch file's own sends it there), started directly the line alone. At
// 32,766 characters it starts (the stand-in runs the line, so the program shows that it ran); one
// more, and the launcher says why and tries no other interpreter.
TEST_F(LifecycleTest, CommandLineLimitOfWindows) {
  environment["COMSPEC"] = stand;
  for (const std::string start : {"java -Dk=%%", "java -Dk="}) {
    const bool direct = start.back() == '=';
    const size_t fixed = direct ? start.size() : stand.size() + 4 + 2 + start.size() - 1;
    for (size_t whole : {size_t{32766}, size_t{32767}}) {
      writeFile(join(binDir, "tool.kestrelune"), start + std::string(whole - fixed, 'v'));
      removeFile(root / "record");
      RunResult result = launch();
      if (whole == 32766) {
        EXPECT_EQ(result.status, 0u) << start << result.err;
        EXPECT_TRUE(record().present) << start;
      } else {
        EXPECT_EQ(result.err, messageLine("error: the command line is 32767 characters long; "
                                          "Windows accepts at most 32766")) << start;
        EXPECT_EQ(result.status, failureStatus()) << start;
        EXPECT_FALSE(record().present) << start;
      }
    }
  }
}

}  // namespace
}  // namespace test
