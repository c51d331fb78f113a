// The windowed launcher's dialogs, and which launcher this is (windowed_win32.h, platform.h).
// Only code for Windows lives here.
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "util/output_tail.h"
#include "util/platform.h"
#include "util/windowed_win32.h"

namespace {

// About what a dialog shows without becoming a wall of text.
constexpr int32_t kDialogCharacters = 2000;
// How long the pipe may stay open after the interpreter has ended: a process it left running
// may hold it for good.
constexpr DWORD kGraceMs = 200;
// cmd.exe's status for a program it does not know; its message is its own, in the OEM code page.
constexpr int kNotRecognized = 9009;

template <typename Function>
Function lookUp(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The launcher's file name without its extension ("tool" for tool.exe), in a new array.
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

// Text written by hand, as the messages are: the printf family would bring the C runtime's whole
// formatter. Each returns the end of what it wrote, without a terminating zero.
wchar_t* append(wchar_t* end, const wchar_t* text) {
  while (*text != 0) *end++ = *text++;
  return end;
}

wchar_t* appendNumber(wchar_t* end, int value) {
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  if (value < 0) *end++ = L'-';
  wchar_t digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  while (count > 0) *end++ = digits[--count];
  return end;
}

}  // namespace

bool platformIsWindowed() {
  // The image's own header: a renamed copy of the windowed launcher is still the windowed one.
  const char* image = reinterpret_cast<const char*>(GetModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
  return headers->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI;
}

wchar_t* widen(const char* bytes, int count, UINT codePage) {
  int units = count == 0 ? 0 : MultiByteToWideChar(codePage, 0, bytes, count, nullptr, 0);
  wchar_t* text = new wchar_t[units + 1];
  MultiByteToWideChar(codePage, 0, bytes, count, text, units);
  text[count < 0 && units > 0 ? units - 1 : units] = 0;
  return text;
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

void platformReportError(const char* line, const char* note) {
  if (!platformIsWindowed() || isUsableHandle(GetStdHandle(STD_ERROR_HANDLE))) {
    std::fflush(stdout);
    std::fputs(line, stderr);
    std::fputc('\n', stderr);
    return;
  }
  // The icon says it is an error.
  const char prefix[] = "error: ";
  if (std::strncmp(line, prefix, sizeof prefix - 1) == 0) line += sizeof prefix - 1;
  wchar_t* text = note == nullptr ? widen(line, -1, CP_ACP)
                                  : widen((line + CountedString("\r\n") + note).data(), -1, CP_ACP);
  showErrorDialog(text);
  delete[] text;
}

void reportProgramFailure(InterpreterStreams* streams, int status) {
  CountedString captured;
  bool cut = false;
  if (status == 0 || !streams->takeCaptured(kGraceMs, &captured, &cut) || captured.empty()) return;
  // Java writes to a stream that is no console in the ANSI code page, like the launcher; cmd.exe
  // writes its own messages in the console's OEM code page, and 9009 is the failure whose words
  // are all cmd's. The lines are cut with the ANSI code page's lead bytes: a double-byte system's
  // OEM code page is the same code page.
  CountedString lines = lastLines(captured, cut, kDialogCharacters);
  UINT codePage = status == kNotRecognized ? CP_OEMCP : CP_ACP;
  wchar_t* output = widen(lines.data(), lines.length(), codePage);
  wchar_t* name = launcherName();
  wchar_t* text = new wchar_t[std::wcslen(name) + std::wcslen(output) + 64];
  wchar_t* end = append(append(text, name), L" ended with exit status ");
  end = append(append(appendNumber(end, status), L"."), lines.empty() ? L"" : L"\r\n\r\n");
  *append(end, output) = 0;
  showErrorDialog(text);
  delete[] text;
  delete[] name;
  delete[] output;
}
