// Windows implementation of the platform seam (platform.h). Only code for Windows lives here.
#include "platform/platform.h"

#include <windows.h>

#include <memory>

#include "platform/program_failure_win32.h"
#include "platform/standard_handles_win32.h"
#include "util/byte_buffer.h"

PathStyle platformPathStyle() { return PathStyle::windows(); }

RunConventions platformRunConventions() { return RunConventions::windows(); }

CountedString platformModulePath() {
  // A full buffer may hold a cut path: try again with twice the room, never run with half a path.
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::unique_ptr<char[]> buffer(new char[size]);
    DWORD n = GetModuleFileNameA(nullptr, buffer.get(), size);
    if (n < size) return CountedString(buffer.get(), static_cast<int32_t>(n));
  }
}

CountedString platformFullPath(const CountedString& path) {
  // Absolute and normalised ("." and ".." gone, every "/" a backslash), like a module path.
  for (DWORD size = MAX_PATH;;) {
    std::unique_ptr<char[]> buffer(new char[size]);
    DWORD n = GetFullPathNameA(path.data(), size, buffer.get(), nullptr);
    if (n == 0) return path;
    if (n < size) return CountedString(buffer.get(), static_cast<int32_t>(n));
    size = n;  // the size needed, terminating zero included
  }
}

namespace {

constexpr DWORD kNoBestFit = WC_NO_BEST_FIT_CHARS;

// One character (a surrogate pair whole) at a time, to learn which were replaced: only when the
// whole line held some.
CountedString convertMarkingReplaced(const wchar_t* wide, CountedString* replacedCharacters) {
  ByteBuffer line;
  ByteBuffer marks;
  for (const wchar_t* p = wide; *p != 0;) {
    int units = (*p >= 0xD800 && *p <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) ? 2 : 1;
    char bytes[8];
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(CP_ACP, kNoBestFit, p, units, bytes, sizeof bytes, nullptr,
                                &usedDefault);
    for (int i = 0; i < n; ++i) {
      line.appendByte(bytes[i]);
      marks.appendByte(usedDefault ? 1 : 0);
    }
    p += units;
  }
  *replacedCharacters = marks.toCountedString();
  return line.toCountedString();
}

}  // namespace

CountedString platformCommandLine(int, char**, CountedString* replacedCharacters) {
  const wchar_t* wide = GetCommandLineW();
  int size = WideCharToMultiByte(CP_ACP, kNoBestFit, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return CountedString(GetCommandLineA());
  std::unique_ptr<char[]> bytes(new char[size]);
  BOOL usedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, kNoBestFit, wide, -1, bytes.get(), size, nullptr, &usedDefault);
  if (!usedDefault) return CountedString(bytes.get(), size - 1);
  return convertMarkingReplaced(wide, replacedCharacters);
}

TokenList platformEnvironment() {
  TokenList entries;
  char* block = GetEnvironmentStringsA();
  if (block == nullptr) return entries;
  for (const char* entry = block; *entry != 0;) {
    CountedString text(entry);
    entry += text.length() + 1;
    entries.append(std::move(text));
  }
  FreeEnvironmentStringsA(block);
  return entries;
}

bool platformPathExists(const CountedString& path) {
  return GetFileAttributesA(path.data()) != INVALID_FILE_ATTRIBUTES;
}

bool platformIsRegularFile(const CountedString& path) {
  const DWORD attributes = GetFileAttributesA(path.data());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

intptr_t platformOpenInput(const CountedString& path) {
  HANDLE file = CreateFileA(path.data(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(file, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    CloseHandle(file);
    return -1;
  }
  return reinterpret_cast<intptr_t>(file);
}

int32_t platformReadInput(intptr_t file, char* buffer, int32_t size) {
  DWORD n = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(file), buffer, static_cast<DWORD>(size), &n, nullptr)) return 0;
  return static_cast<int32_t>(n);
}

void platformCloseInput(intptr_t file) { CloseHandle(reinterpret_cast<HANDLE>(file)); }

TokenList platformDirectoryEntries(const CountedString& pattern, bool* matched) {
  *matched = true;  // the system matches "*" and "?" itself, short names included
  TokenList names;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern.data(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.append(CountedString(entry.cFileName));
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

namespace {

// The system's message for error, on one line ("error N" where it has none).
CountedString systemMessage(DWORD error) {
  char text[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ' ||
                   text[n - 1] == '.')) {
    --n;
  }
  if (n > 0) return CountedString(text, static_cast<int32_t>(n));
  char digits[16];
  int count = 0;
  do {
    digits[sizeof digits - 1 - count++] = static_cast<char>('0' + error % 10);
    error /= 10;
  } while (error != 0);
  return "error " + CountedString(digits + sizeof digits - count, count);
}

// The job of the interpreter that runs now, for the console handler; null when there is none.
// Written before the interpreter resumes, read by the handler's thread.
HANDLE volatile runningJob = nullptr;
// How to answer console events; set before the handler is installed.
ConsoleEventAnswers consoleAnswers;

bool setJobLimits(HANDLE job, DWORD flags) {
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = flags;
  return SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) != 0;
}

// A job that ends everything in it when the launcher ends, killed included. Breakaway is allowed
// (a program may detach a process on purpose) but never silent: with silent breakaway the JVM
// that the interpreter starts would escape the job. Null when the system will not make one.
HANDLE createKillOnCloseJob() {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  if (!setJobLimits(job, JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK)) {
    CloseHandle(job);
    return nullptr;
  }
  return job;
}

// Whatever is left in the job outlives the launcher from now on.
void liftKillOnClose(HANDLE job) {
  if (job != nullptr) setJobLimits(job, JOB_OBJECT_LIMIT_BREAKAWAY_OK);
}

bool toConsoleEvent(DWORD type, ConsoleEvent* event) {
  switch (type) {
    case CTRL_C_EVENT: *event = ConsoleEvent::kInterrupt; return true;
    case CTRL_BREAK_EVENT: *event = ConsoleEvent::kBreak; return true;
    case CTRL_CLOSE_EVENT: *event = ConsoleEvent::kClose; return true;
    case CTRL_LOGOFF_EVENT: *event = ConsoleEvent::kLogoff; return true;
    case CTRL_SHUTDOWN_EVENT: *event = ConsoleEvent::kShutdown; return true;
    default: return false;
  }
}

// Runs on a thread of its own. The main thread goes on waiting for the interpreter and ends the
// launcher with its status; after a close event the system ends the launcher first.
BOOL WINAPI onConsoleEvent(DWORD type) {
  ConsoleEvent event;
  if (!toConsoleEvent(type, &event)) return FALSE;
  if (consoleAnswers[event] == ConsoleEventAnswer::kLiftLimitAndWait) {
    liftKillOnClose(runningJob);
    Sleep(INFINITE);  // returning would end the launcher at once
  }
  return TRUE;
}

// Starts the interpreter suspended, puts it in the job before it runs (so that nothing it starts
// can be outside), and waits for it with inherited handles, console and directory. False when it
// cannot be started. A job that cannot be made or joined (an older system where a process in a
// job joins no other) changes nothing. The windowed launcher gives it streams of its own and no
// console window.
bool startAndWait(const CountedString& program, const CountedString& commandLine,
                  InterpreterStreams* streams, int* exitCode) {
  // The ANSI services take no longer name; Wine even ends the caller on one.
  if (program.length() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  DWORD flags = CREATE_SUSPENDED;
  if (streams != nullptr) {
    streams->describe(&startup);
    flags |= CREATE_NO_WINDOW;
    // A shortcut's "Run: Maximized" is meant for the program's window.
    STARTUPINFOA own = {};
    own.cb = sizeof own;
    GetStartupInfoA(&own);
    if (own.dwFlags & STARTF_USESHOWWINDOW) {
      startup.dwFlags |= STARTF_USESHOWWINDOW;
      startup.wShowWindow = own.wShowWindow;
    }
  }
  PROCESS_INFORMATION process = {};
  CountedString line(commandLine);  // CreateProcessA may write into the line it is given
  if (!CreateProcessA(program.data(), line.mutableData(), nullptr, nullptr, TRUE, flags, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  if (streams != nullptr) streams->started();
  HANDLE job = createKillOnCloseJob();
  if (job != nullptr && !AssignProcessToJobObject(job, process.hProcess)) {
    CloseHandle(job);
    job = nullptr;
  }
  runningJob = job;
  ResumeThread(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  // A process the program left running on purpose keeps running. The job handle stays open
  // until the launcher ends: the console handler may still be using it.
  liftKillOnClose(job);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  *exitCode = static_cast<int>(code);
  return true;
}

}  // namespace

CountedString platformDefaultInterpreter() {
  // In the system folder, never the current folder or PATH, where anyone may put a cmd.exe.
  char folder[MAX_PATH];
  UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  CountedString directory = n > 0 && n < MAX_PATH ? CountedString(folder, static_cast<int32_t>(n))
                                                  : CountedString("C:\\Windows\\System32");
  return directory + ((GetVersion() & 0x80000000u) ? "\\command.com" : "\\cmd.exe");
}

// Below the default level of 0x280, Windows ends the windowed launcher at log-off and shutdown only
// after its program: the program gets its whole grace period, and the launcher's job, which kills
// the program when the launcher ends, never cuts it short. 0x100 is the lowest level that
// applications may take.
constexpr DWORD kShutdownAfterItsProgram = 0x100;

int platformRunCommand(const CommandRequest& request, CountedString* failure) {
  InterpreterStreams windowedStreams;
  InterpreterStreams* streams = nullptr;
  if (request.windowed) {  // no console, so no console handler
    SetProcessShutdownParameters(kShutdownAfterItsProgram, 0);
    windowedStreams.open();
    streams = &windowedStreams;
  } else {
    // A handler function, never the "ignore" flag: that flag is inherited, and the JVM would no
    // longer see Ctrl-C.
    consoleAnswers = request.consoleAnswers;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
  }
  // Set in the launcher's own environment, the live one, which every interpreter inherits whole:
  // the drives' current folders (the hidden "=C:" entries) and every other variable as they are.
  if (!request.classPath.empty()) SetEnvironmentVariableA("CLASSPATH", request.classPath.data());
  if (request.startsMoreCommands) SetEnvironmentVariableA("NoDefaultCurrentDirectoryInExePath", "1");
  int exitCode = -1;
  for (int i = 0; i < request.startCount; ++i) {
    const ProgramStart& start = request.starts[i];
    if (startAndWait(start.program, start.commandLine, streams, &exitCode)) {
      if (streams != nullptr) reportProgramFailure(streams, exitCode, request.programFile);
      return exitCode;
    }
    if (!start.interpreter) {  // no second search: the launcher found this very file
      *failure = systemMessage(GetLastError());
      return -1;
    }
  }
  return -1;
}
