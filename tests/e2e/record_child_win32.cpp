// The recording child's raw command line and its parent on Windows.
#include <windows.h>
#include <tlhelp32.h>

#include <string>

std::string rawCommandLine() { return GetCommandLineA(); }

std::string parentImageName() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return std::string();
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  }
  std::string name;
  for (BOOL more = Process32First(snapshot, &entry); more && parent != 0;
       more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == parent) name = entry.szExeFile;
  }
  CloseHandle(snapshot);
  return name;
}
