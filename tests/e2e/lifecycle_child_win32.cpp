// Stand-ins for the lifecycle tests, one program by its first argument:
//   lifecycle_child /c LINE      an interpreter that behaves like Windows' cmd.exe: it ignores
//                                Ctrl-C (Wine's own cmd.exe ends on it), runs LINE (one pair of
//                                outer quotes removed), waits, and exits with its status
//   lifecycle_child hooks DIR    a JVM: writes DIR\ready, and on Ctrl-C runs "shutdown hooks" for
//                                a second (DIR\event, then DIR\done) and exits 130
//   lifecycle_child sleep DIR    writes its process id to DIR\pid and sleeps a minute
//   lifecycle_child detach DIR   starts "sleep DIR" detached, without inherited handles, and
//                                exits 0 at once
//   lifecycle_child stderr N T   writes the line T on its standard error stream and exits N
//   lifecycle_child console DIR  writes to DIR\console whether it has a console window: "none",
//                                "hidden" or "visible"
//   lifecycle_child linger DIR   writes a line on its standard error stream, starts "sleep DIR"
//                                holding that stream, writes its end time (GetTickCount64) to
//                                DIR\ended and exits 1
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string directory;

void touch(const char* name, const std::string& text = "") {
  std::string path = directory + "\\" + name;
  std::string temporary = path + ".tmp";  // renamed into place: readers never see half of it
  if (FILE* file = std::fopen(temporary.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

BOOL WINAPI ignoreInterrupts(DWORD type) { return type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT; }

BOOL WINAPI shutdownHooks(DWORD type) {
  if (type != CTRL_C_EVENT) return FALSE;
  touch("event");
  Sleep(1000);
  touch("done");
  ExitProcess(130);
}

int interpret() {
  SetConsoleCtrlHandler(ignoreInterrupts, TRUE);  // a handler, so the child still sees Ctrl-C
  const char* raw = GetCommandLineA();
  const char* after = std::strstr(raw, " /c ");
  if (after == nullptr) return 2;
  std::string line = after + 4;
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
    line = line.substr(1, line.size() - 2);
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return 9009;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  return static_cast<int>(code);
}

int detach(const char* self) {
  std::string line = std::string("\"") + self + "\" sleep \"" + directory + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(self, &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                      &startup, &process)) {
    return 3;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

void writeError(const std::string& text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

int holdErrorStream(const char* self) {
  writeError("lingering\r\n");
  std::string line = std::string("\"") + self + "\" sleep \"" + directory + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(self, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return 3;
  }
  touch("pid", std::to_string(process.dwProcessId));  // the sleeper's, as it writes it itself
  touch("ended", std::to_string(GetTickCount64()));
  return 1;
}

const char* consoleWindow() {
  HWND window = GetConsoleWindow();
  return window == nullptr ? "none" : IsWindowVisible(window) ? "visible" : "hidden";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "/c") == 0) return interpret();
  if (argc < 3) return 2;
  if (std::strcmp(argv[1], "stderr") == 0 && argc == 4) {
    writeError(std::string(argv[3]) + "\r\n");
    return std::atoi(argv[2]);
  }
  directory = argv[2];
  if (std::strcmp(argv[1], "hooks") == 0) {
    SetConsoleCtrlHandler(shutdownHooks, TRUE);
    touch("ready");
    Sleep(30000);
    return 1;  // no Ctrl-C came
  }
  if (std::strcmp(argv[1], "sleep") == 0) {
    touch("pid", std::to_string(GetCurrentProcessId()));
    Sleep(60000);
    return 0;
  }
  if (std::strcmp(argv[1], "detach") == 0) return detach(argv[0]);
  if (std::strcmp(argv[1], "linger") == 0) return holdErrorStream(argv[0]);
  if (std::strcmp(argv[1], "console") == 0) {
    touch("console", consoleWindow());
    return 0;
  }
  return 2;
}
