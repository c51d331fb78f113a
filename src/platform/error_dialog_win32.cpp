#include "platform/error_dialog_win32.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

template <typename Function>
Function lookUp(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

wchar_t* launcherName() {
  for (DWORD size = MAX_PATH;; size *= 2) {
    wchar_t* path = new wchar_t[size];
    DWORD n = GetModuleFileNameW(nullptr, path, size);
    if (n < size) {
      wchar_t* name = path;
      for (wchar_t* p = path; *p != 0; ++p) {
        if (*p == L'\\' || *p == L'/') name = p + 1;
      }
      if (wchar_t* dot = std::wcsrchr(name, L'.')) *dot = 0;
      std::memmove(path, name, (std::wcslen(name) + 1) * sizeof(wchar_t));
      return path;
    }
    delete[] path;
  }
}

void showErrorDialog(const wchar_t* text) {
  // user32 is loaded only here: a launcher that shows nothing never pays for it, and starts even
  // where Windows has no window system at all.
  HMODULE user32 = LoadLibraryA("user32.dll");
  if (user32 == nullptr) return;
  auto station = lookUp<HWINSTA(WINAPI*)()>(user32, "GetProcessWindowStation");
  auto information = lookUp<BOOL(WINAPI*)(HANDLE, int, void*, DWORD, DWORD*)>(
      user32, "GetUserObjectInformationW");
  auto messageBox = lookUp<int(WINAPI*)(HWND, const wchar_t*, const wchar_t*, UINT)>(
      user32, "MessageBoxW");
  if (station == nullptr || information == nullptr || messageBox == nullptr) return;
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  HWINSTA current = station();
  if (current == nullptr || !information(current, UOI_FLAGS, &flags, sizeof flags, &needed) ||
      (flags.dwFlags & WSF_VISIBLE) == 0) {
    return;
  }
  wchar_t* title = launcherName();
  messageBox(nullptr, text, title, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
  delete[] title;
}
