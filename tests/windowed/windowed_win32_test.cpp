// kestrelunew.exe on a desktop (Xvfb, scripts/with-desktop.sh): with the caller's error stream its
// errors go there and no dialog appears; started as Explorer starts it, its own errors and a
// failing program's last lines appear in one dialog, its program has no console window, and a
// process that keeps the error pipe open never holds it up.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

std::string narrow(const wchar_t* text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(size > 0 ? size - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], size, nullptr, nullptr);
  std::string lines;  // line ends as "\n"
  for (char c : bytes) {
    if (c != '\r') lines += c;
  }
  return lines;
}

/// While it lives, closes every message box titled "tool" that appears, keeping the text of the
/// last one. KESTRELUNE_DIALOG_HOLD_MS keeps each open that long first, for a screenshot.
class DialogWatch {
 public:
  DialogWatch() : thread_([this] { watch(); }) {}
  ~DialogWatch() {
    stop_ = true;
    thread_.join();
  }
  bool seen() const { return seen_; }
  const std::string& text() const { return text_; }
  /// GetTickCount64 when the last dialog was found.
  ULONGLONG seenAt() const { return seenAt_; }

 private:
  void watch() {
    const char* hold = std::getenv("KESTRELUNE_DIALOG_HOLD_MS");
    while (!stop_) {
      if (HWND dialog = FindWindowW(L"#32770", L"tool")) {
        wchar_t text[8192] = {};
        GetDlgItemTextW(dialog, 0xFFFF, text, 8192);  // the message box's static text
        text_ = narrow(text);
        seenAt_ = GetTickCount64();
        seen_ = true;
        if (hold != nullptr) Sleep(std::atoi(hold));
        SendMessageW(dialog, WM_COMMAND, IDOK, 0);
      }
      Sleep(50);
    }
  }

  std::atomic<bool> stop_{false};
  std::atomic<bool> seen_{false};
  std::string text_;
  std::atomic<ULONGLONG> seenAt_{0};
  std::thread thread_;
};

class WindowedTest : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    stand = builtProgram("lifecycle_child");
    makeDirectory(marks = root / "marks");
    launcherProgram = "kestrelunew";
    installLauncher("tool");
  }

  void runs(const std::string& arguments) {
    writeFile(join(binDir, "tool.kestrelune"), "\"" + stand + "\" " + arguments);
  }

  /// Starts the launcher as Explorer does, with no standard handles and no console (Wine, unlike
  /// Windows, attaches a GUI program to its parent's console unless told not to), waits for it
  /// and returns its status.
  uint32_t startLikeExplorer() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    std::string line = "\"" + launcher + "\"";
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(launcher.c_str(), &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS,
                        nullptr, root.path().c_str(), &startup, &process)) {
      ADD_FAILURE() << "cannot start " << launcher << ": " << GetLastError();
      return 0xDEAD;
    }
    DWORD code = 0xDEAD;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
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

TEST_F(WindowedTest, ErrorsGoToTheCallersStreamWithoutADialog) {
  struct Case {
    const char* what;
    std::string launchFile;  // none when empty
    uint32_t status;
    std::string err;
    bool unopenable;  // the launch file is there, but no one can read it
  };
  const std::string comspec = "C:\\windows\\system32\\cmd.exe";
  const std::string tooLong = "java -Dk=" + std::string(32767, 'v');
  const std::string launchFile = join(binDir, "tool.kestrelune");
  const Case cases[] = {
      {"no launch file, no jar", "", failureStatus(), messageLine("error: tool.jar not found."),
       false},
      {"a launch file that cannot be opened", "", failureStatus(),
       messageLine("error: cannot open " + launchFile), true},
      {"a line too long", tooLong, failureStatus(),
       messageLine("error: the command line is " +
                   std::to_string(comspec.size() + 4 + 2 + tooLong.size()) +
                   " characters long; Windows accepts at most 32766"),
       false},
      {"a program that fails", "\"" + stand + "\" stderr 3 \"it went wrong\"", 3,
       "it went wrong\r\n", false},
  };
  environment["COMSPEC"] = comspec;
  for (const Case& c : cases) {
    removeFile(launchFile);
    if (!c.launchFile.empty()) writeFile(launchFile, c.launchFile);
    std::unique_ptr<UnopenableFile> unopenable;
    if (c.unopenable) unopenable = std::make_unique<UnopenableFile>(launchFile);
    DialogWatch watch;
    RunResult result = launch();
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_EQ(result.err, c.err) << c.what;
    EXPECT_FALSE(watch.seen()) << c.what << ": " << watch.text();
  }
}

TEST_F(WindowedTest, WithoutAStreamTheDialogSpeaks) {
  struct Case {
    const char* what;
    std::string launchFile;  // none when empty
    uint32_t status;
    const char* dialog;  // none when null
  };
  const Case cases[] = {
      {"no launch file, no jar", "", failureStatus(), "tool.jar not found."},
      {"a main class not found", "stderr 1 \"Error: Could not find or load main class x\"", 1,
       "tool ended with exit status 1.\n\nError: Could not find or load main class x"},
      {"success", "stderr 0 \"a warning\"", 0, nullptr},
  };
  for (const Case& c : cases) {
    removeFile(join(binDir, "tool.kestrelune"));
    if (!c.launchFile.empty()) runs(c.launchFile);
    DialogWatch watch;
    EXPECT_EQ(startLikeExplorer(), c.status) << c.what;
    EXPECT_EQ(watch.seen(), c.dialog != nullptr) << c.what << ": " << watch.text();
    EXPECT_EQ(watch.text(), c.dialog ? c.dialog : "") << c.what;
  }
}

// Wine tells a console without a window by GetConsoleWindow() giving none; its consoles with a
// window show them on the desktop, as Windows does.
TEST_F(WindowedTest, TheProgramHasNoConsoleWindow) {
  runs("console \"" + marks + "\"");
  EXPECT_EQ(startLikeExplorer(), 0u);
  EXPECT_EQ(readFile(join(marks, "console")), "none");
}

// The program fails and leaves a process holding the error pipe open for a minute: the dialog
// shows what had arrived within a second, and the launcher ends once it is closed.
TEST_F(WindowedTest, AProcessHoldingTheErrorPipeNeverHoldsTheLauncher) {
  runs("linger \"" + marks + "\"");
  DialogWatch watch;
  EXPECT_EQ(startLikeExplorer(), 1u);
  ULONGLONG programEnded = std::stoull(readFile(join(marks, "ended")));
  EXPECT_EQ(watch.text(), "tool ended with exit status 1.\n\nlingering");
  EXPECT_LT(watch.seenAt() - programEnded, 1000u) << "the launcher waited for the pipe to close";
  for (int waited = 0; waited < 5000 && GetFileAttributesA(join(marks, "pid").c_str()) ==
                                          INVALID_FILE_ATTRIBUTES; waited += 50) {
    Sleep(50);
  }
  DWORD pid = static_cast<DWORD>(std::stoul(readFile(join(marks, "pid"))));
  if (HANDLE sleeper = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
    TerminateProcess(sleeper, 1);
    CloseHandle(sleeper);
  }
}

}  // namespace
}  // namespace test
