// kestrelunew.exe on a desktop (Xvfb, scripts/with-desktop.sh): given the caller's error stream it
// writes there and shows no dialog; started as Explorer starts it, its own errors and a failing
// program's last lines appear in one dialog, its program has no console window, and a process
// that keeps the error pipe open never holds it up.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

/// Until finish(), reads and closes every message box titled "tool". KESTRELUNE_DIALOG_HOLD_MS
/// keeps each open that long first, for a screenshot (scripts/dialog-screenshot.sh).
class DialogWatch {
 public:
  DialogWatch() : thread_([this] { watch(); }) {}
  ~DialogWatch() { finish(); }
  /// The last dialog's text, empty when none appeared.
  const std::string& finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return text;
  }
  std::string text;
  ULONGLONG seenAt = 0;  // GetTickCount64 when it appeared

 private:
  void watch() {
    const char* hold = std::getenv("KESTRELUNE_DIALOG_HOLD_MS");
    for (; !stop_; Sleep(50)) {
      HWND dialog = FindWindowW(L"#32770", L"tool");
      if (dialog == nullptr) continue;
      char buffer[8192] = {};
      GetDlgItemTextA(dialog, 0xFFFF, buffer, sizeof buffer);  // the message box's text
      seenAt = GetTickCount64();
      text = buffer;
      if (hold != nullptr) Sleep(std::atoi(hold));
      SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
  }
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class WindowedTest : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    makeDirectory(marks = root / "marks");
    launcherProgram = "kestrelunew";
    installLauncher("tool");
  }

  void runs(const std::string& arguments) {
    writeFile(launchFile(), "\"" + builtProgram("lifecycle_child") + "\" " + arguments);
  }
  std::string launchFile() const { return join(binDir, "tool.kestrelune"); }

  /// Starts the launcher as Explorer does, with no standard handles and no console (Wine, unlike
  /// Windows, attaches a GUI program to its parent's console unless told not to); its status.
  uint32_t startLikeExplorer() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    std::string line = "\"" + launcher + "\"";
    PROCESS_INFORMATION process = {};
    EXPECT_TRUE(CreateProcessA(launcher.c_str(), &line[0], nullptr, nullptr, FALSE,
                               DETACHED_PROCESS, nullptr, root.path().c_str(), &startup, &process));
    DWORD code = 0xDEAD;
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
      TerminateProcess(process.hProcess, 1);
    }
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }

  std::string marks;
};

// Every error line takes one way (platformReportError): one of the launcher's own stands for all.
TEST_F(WindowedTest, ErrorsGoToTheCallersStreamWithoutADialog) {
  const struct {
    const char* launchFile;  // none when null
    uint32_t status;
    std::string err;
  } cases[] = {
      {nullptr, failureStatus(), messageLine("error: tool.jar not found.")},
      {"stderr 3 \"it went wrong\"", 3, "it went wrong\r\n"},
  };
  for (const auto& c : cases) {
    removeFile(launchFile());
    if (c.launchFile != nullptr) runs(c.launchFile);
    DialogWatch watch;
    RunResult result = launch();
    EXPECT_EQ(result.status, c.status) << c.err;
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(watch.finish(), "") << c.err;
  }
}

#define CLASS_VERSION_ERROR                                                                   \
  "java.lang.UnsupportedClassVersionError: Main has been compiled by a more recent version of " \
  "the Java Runtime (class file version 61.0), this version of the Java Runtime only "          \
  "recognizes class file versions up to 52.0"

TEST_F(WindowedTest, WithoutAStreamTheDialogSpeaks) {
  // No java anywhere: the registry of this prefix records none. The launchers started like
  // Explorer inherit this process's environment; no other test here reads these variables.
  SetEnvironmentVariableA("PATH", "C:\\windows\\system32");
  SetEnvironmentVariableA("JAVA_HOME", nullptr);
  SetEnvironmentVariableA("JDK_HOME", nullptr);
  const struct {
    const char* launchFile;  // none when null
    uint32_t status;
    std::string dialog;
    bool whole = false;  // the launch file as it stands, not the stand-in's arguments
  } cases[] = {
      {"java Main", 9009,
       "java was not found: not along PATH (1 folder), JAVA_HOME is not set, none in the registry "
       "(JavaSoft, Eclipse Adoptium, Eclipse Foundation, AdoptOpenJDK, Microsoft, Semeru, Zulu); "
       "install a Java runtime, or set JAVA_HOME to one",
       true},
      {nullptr, failureStatus(), "tool.jar not found.\r\nNo launch file tool.kestrelune either."},
      {"stderr 1 \"Error: Could not find or load main class x\"", 1,
       "tool ended with exit status 1.\r\n\r\nError: Could not find or load main class x"},
      {"stderr 1 \"" CLASS_VERSION_ERROR "\"", 1,
       "tool ended with exit status 1.\r\n\r\ntool needs Java 17 or later; the Java that ran (" +
           builtProgram("lifecycle_child") + ") is Java 8.\r\n\r\n" CLASS_VERSION_ERROR},
      {"stderr 0 \"a warning\"", 0, ""},
  };
  for (const auto& c : cases) {
    removeFile(launchFile());
    if (c.whole) writeFile(launchFile(), c.launchFile);
    if (c.launchFile != nullptr && !c.whole) runs(c.launchFile);
    DialogWatch watch;
    EXPECT_EQ(startLikeExplorer(), c.status) << c.dialog;
    EXPECT_EQ(watch.finish(), c.dialog);
  }
}

// Wine tells a console without a window by GetConsoleWindow() giving none; with a desktop it shows
// a console's window, as Windows does.
TEST_F(WindowedTest, TheProgramHasNoConsoleWindow) {
  runs("console \"" + marks + "\"");
  EXPECT_EQ(startLikeExplorer(), 0u);
  EXPECT_EQ(readFile(join(marks, "console")), "none");
}

// The program fails and leaves a process holding the error pipe for a minute: within a second
// the dialog shows what had arrived.
TEST_F(WindowedTest, AProcessHoldingTheErrorPipeNeverHoldsTheLauncher) {
  runs("linger \"" + marks + "\"");
  DialogWatch watch;
  EXPECT_EQ(startLikeExplorer(), 1u);
  EXPECT_EQ(watch.finish(), "tool ended with exit status 1.\r\n\r\nlingering");
  EXPECT_LT(watch.seenAt - std::stoull(readFile(join(marks, "ended"))), 1000u);
  HANDLE sleeper = OpenProcess(PROCESS_TERMINATE, FALSE, std::stoul(readFile(join(marks, "pid"))));
  TerminateProcess(sleeper, 1);
  CloseHandle(sleeper);
}

}  // namespace
}  // namespace test
