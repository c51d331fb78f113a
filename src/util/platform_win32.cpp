// Windows implementation of the platform seam (platform.h). Only code for Windows lives here.
#include "util/platform.h"

#include <windows.h>

#include <memory>

#include "util/paths.h"

PathStyle platformPathStyle() { return PathStyle::windows(); }

namespace {

// The lead-byte list of CPINFO: pairs of first and last byte, up to a pair holding a zero.
bool isPlatformLeadByte(const CPINFO& info, int byte) {
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0 && info.LeadByte[i + 1] != 0; i += 2) {
    if (byte >= info.LeadByte[i] && byte <= info.LeadByte[i + 1]) return true;
  }
  return false;
}

// Bytes 0 and every lead byte the platform reports become blanks, so that the whole vector is
// mapped as 256 single-byte characters.
void fillCaseTables(const CPINFO& info, ActiveCodePage* cp) {
  char vector[256];
  for (int i = 0; i < 256; ++i) {
    vector[i] = i == 0 || isPlatformLeadByte(info, i) ? ' ' : static_cast<char>(i);
  }
  WORD types[256] = {};
  char lower[256];
  char upper[256];
  LCID locale = cp->localeId;
  if (!GetStringTypeA(locale, CT_CTYPE1, vector, 256, types) ||
      LCMapStringA(locale, LCMAP_LOWERCASE, vector, 256, lower, 256) != 256 ||
      LCMapStringA(locale, LCMAP_UPPERCASE, vector, 256, upper, 256) != 256) {
    return;  // no case rules beyond none at all; cannot happen for an installed code page
  }
  for (int i = 0; i < 256; ++i) {
    if (types[i] & C1_UPPER) {
      cp->byteClasses[i] |= kUpperCase;
      cp->caseMap[i] = static_cast<uint8_t>(lower[i]);
    } else if (types[i] & C1_LOWER) {
      cp->byteClasses[i] |= kLowerCase;
      cp->caseMap[i] = static_cast<uint8_t>(upper[i]);
    }
  }
}

}  // namespace

ActiveCodePage platformActiveCodePage() {
  UINT number = GetACP();
  CPINFO info;
  bool haveInfo = GetCPInfo(number, &info) != 0;
  if (!haveInfo) {  // built-in lead bytes if known, ASCII case rules
    ActiveCodePage probe;
    return builtinCodePage(markBuiltinLeadBytes(number, probe.byteClasses) ? number : 0);
  }

  ActiveCodePage cp;
  cp.codePage = number;
  if (markBuiltinLeadBytes(number, cp.byteClasses)) {
    cp.multibyte = true;
    cp.localeId = builtinLocaleId(number);
  } else if (info.MaxCharSize >= 2) {
    for (int b = 0; b < 256; ++b) {
      if (isPlatformLeadByte(info, b)) cp.byteClasses[b] |= kLeadByte;
    }
    cp.multibyte = true;
  }
  fillCaseTables(info, &cp);
  return cp;
}

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

CountedString platformCommandLine(int, char**) { return CountedString(GetCommandLineA()); }

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

int platformUpperDoubleByte(const char* character, int count, char out[2]) {
  return LCMapStringA(activeCodePage().localeId, LCMAP_UPPERCASE, character, count, out, 2);
}

bool platformEqualNoCase(const char* a, int32_t na, const char* b, int32_t nb) {
  return CompareStringA(activeCodePage().localeId, NORM_IGNORECASE, a, na, b, nb) == CSTR_EQUAL;
}

bool platformPathExists(const CountedString& path) {
  return GetFileAttributesA(path.data()) != INVALID_FILE_ATTRIBUTES;
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

TokenList platformMatchingNames(const CountedString& pattern) {
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

// Starts the interpreter with inherited handles, console and directory, and waits for it. False
// when it cannot be started.
bool startAndWait(const CountedString& program, const CountedString& commandLine, int* exitCode) {
  // The ANSI services take no longer name; Wine even ends the caller on one.
  if (program.length() >= MAX_PATH) return false;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  CountedString line(commandLine);  // CreateProcessA may write into the line it is given
  if (!CreateProcessA(program.data(), const_cast<char*>(line.data()), nullptr, nullptr, TRUE, 0,
                      nullptr, nullptr, &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = static_cast<DWORD>(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  *exitCode = static_cast<int>(code);
  return true;
}

// The fallback interpreter in the current directory, then along PATH.
int runFallbackInterpreter(const CountedString& line) {
  const char* name = (GetVersion() & 0x80000000u) ? "command.com" : "cmd.exe";
  CountedString commandLine = name + CountedString(" /c ") + line;
  int exitCode = -1;
  if (startAndWait(name, commandLine, &exitCode)) return exitCode;
  CountedString path = environmentValue("PATH");
  for (int32_t start = 0; start < path.length();) {
    int32_t end = path.findChar(';', start);
    if (end < 0) end = path.length();
    CountedString directory = path.substring(start, end);
    start = end + 1;
    if (directory.empty()) continue;
    char last = directory.data()[directory.length() - 1];
    CountedString program = directory + (last == '\\' || last == '/' ? "" : "\\") + name;
    if (startAndWait(program, commandLine, &exitCode)) return exitCode;
  }
  return -1;
}

}  // namespace

int platformRunCommand(const CountedString& commandLine) {
  // cmd /c strips the first and last quote of a line that starts with one, so we add a pair.
  CountedString line = commandLine.empty() ? commandLine : "\"" + commandLine + "\"";
  // The interpreter the variable names if it can be started, else the system's own: a COMSPEC
  // that is missing, a directory or no program never keeps the command from running.
  CountedString comspec = environmentValue("COMSPEC");
  int exitCode = -1;
  if (!comspec.empty() && startAndWait(comspec, comspec + " /c " + line, &exitCode)) return exitCode;
  return runFallbackInterpreter(line);
}
