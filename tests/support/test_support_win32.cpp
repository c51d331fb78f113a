// Windows side of the test support: the ANSI file functions, so that double-byte names in the
// active code page mean the same here as in the launcher, and CreateProcessA for programs.
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <stdexcept>

namespace test {

std::string separator() { return "\\"; }

namespace {

void removeTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(join(path, "*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = join(path, name);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

HANDLE inheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES security = {sizeof security, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The current environment with the changes applied, as a block of zero-ended texts.
std::string environmentBlock(const std::map<std::string, std::string>& changes) {
  std::string block;
  char* current = GetEnvironmentStringsA();
  for (const char* entry = current; *entry != 0; entry += strlen(entry) + 1) {
    std::string text = entry;
    std::string name = text.substr(0, text.find('=', 1));
    bool changed = false;
    for (const auto& change : changes) {
      changed = changed || CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(), -1,
                                          change.first.c_str(), -1) == CSTR_EQUAL;
    }
    if (!changed) block += text + '\0';
  }
  FreeEnvironmentStringsA(current);
  for (const auto& [name, value] : changes) {
    if (value != kUnset) block += name + "=" + value + '\0';
  }
  return block + '\0';
}

}  // namespace

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::string(base) + "kestrelune-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
  }
}

TempDir::~TempDir() { removeTree(path_); }

void makeDirectory(const std::string& path) {
  if (!CreateDirectoryA(path.c_str(), nullptr)) throw std::runtime_error("cannot create " + path);
}

void writeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void removeFile(const std::string& path) { DeleteFileA(path.c_str()); }

std::string readFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot read " + path);
  std::string bytes;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(file);
  return bytes;
}

void copyExecutable(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy to " + to);
}

std::string programDirectory() {
  char buffer[4096];
  DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string self(buffer, n);
  return self.substr(0, self.rfind('\\'));
}

std::string builtProgram(const std::string& name) { return join(programDirectory(), name + ".exe"); }

RunResult runProgram(const std::string& program, const std::string& arguments,
                     const std::map<std::string, std::string>& environment,
                     const std::string& workingDirectory) {
  TempDir outputs;
  HANDLE out = inheritableFile(outputs / "out");
  HANDLE err = inheritableFile(outputs / "err");
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  std::string line = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::string block = environmentBlock(environment);
  PROCESS_INFORMATION process = {};
  auto start = [&] {
    return CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, block.data(),
                          workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                          &process);
  };
  // Wine now and then fails a start outright (about one in a thousand under load): try once more,
  // and say so. A program that started is never run again, whatever it did.
  BOOL started = start();
  if (!started) {
    DWORD error = GetLastError();
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "wine start retried: %s%s%s: cannot start %s: error %lu\n",
                 test ? test->test_suite_name() : "", test ? "." : "", test ? test->name() : "",
                 program.c_str(), error);
    started = start();
  }
  CloseHandle(out);
  CloseHandle(err);
  if (!started) {
    throw std::runtime_error("cannot start " + program + ": error " + std::to_string(GetLastError()));
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  RunResult result;
  result.status = code;
  result.out = readFile(outputs / "out");
  result.err = readFile(outputs / "err");
  return result;
}

}  // namespace test

namespace test {

// Only a job object could limit one program's memory, and the tests run under Wine, which does
// not enforce such a limit; nothing is run.
bool runProgramWithMemoryLimit(const std::string&, const std::string&,
                               const std::map<std::string, std::string>&, const std::string&,
                               uint64_t, RunResult*) {
  return false;
}

UnopenableFile::UnopenableFile(const std::string& path) : handle_(-1) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  handle_ = reinterpret_cast<intptr_t>(file);
}

UnopenableFile::~UnopenableFile() { CloseHandle(reinterpret_cast<HANDLE>(handle_)); }

bool makeFifo(const std::string&) { return false; }

// Making one takes a privilege or developer mode.
bool makeSymlink(const std::string&, const std::string&) { return false; }

}  // namespace test
