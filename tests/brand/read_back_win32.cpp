// Reads a branded exe back the way Windows does -- the version API for the record, the resource
// loader and the shell's icon extraction for the icon -- and compares with what was asked for.
// Usage: brand_read_back EXE EXPECTED   EXPECTED: UTF-8 lines KEY=VALUE; KEY is a string of the
//   version record, "Version" (the fixed part's file and product numbers, a.b.c.d) or "Icons"
//   (the number of images; each is loaded and must come out at its stated size).
// Prints every value read and one line per mismatch; exits with the number of mismatches.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

int failures = 0;

std::wstring wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

void compare(const std::string& key, const std::string& actual, const std::string& expected) {
  std::printf("%-17s %s\n", key.c_str(), actual.c_str());
  if (actual != expected) {
    std::printf("FAILED: %s is \"%s\", expected \"%s\"\n", key.c_str(), actual.c_str(), expected.c_str());
    ++failures;
  }
}

// The ANSI calls for the record as the rest of the launcher's tests use them; the strings once
// more through the wide call, which alone holds characters outside the code page.
void checkVersionRecord(const std::string& exe, std::map<std::string, std::string>& expected) {
  DWORD ignored = 0, size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  std::vector<char> record(size);
  if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, record.data())) {
    std::printf("FAILED: no version record\n");
    ++failures;
    return;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (expected.count("Version") && VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) {
    auto numbers = [](DWORD high, DWORD low) {
      return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) +
             "." + std::to_string(LOWORD(low));
    };
    compare("file version", numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS), expected["Version"]);
    compare("product version", numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS), expected["Version"]);
  }
  WORD* translation = nullptr;
  if (!VerQueryValueA(record.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length)) {
    std::printf("FAILED: no translation entry\n");
    ++failures;
    return;
  }
  char block[64];
  std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  for (const auto& [key, value] : expected) {
    if (key == "Version" || key == "Icons") continue;
    wchar_t* text = nullptr;
    char* ansi = nullptr;
    bool found = VerQueryValueW(record.data(), wide(block + key).c_str(), reinterpret_cast<void**>(&text), &length) &&
                 VerQueryValueA(record.data(), (block + key).c_str(), reinterpret_cast<void**>(&ansi), &length);
    compare(key, found ? utf8(text) : "(missing)", value);
    bool ascii = std::all_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (found && ascii && value != ansi) compare(key + " (ANSI)", ansi, value);
  }
}

BOOL CALLBACK collect(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
  reinterpret_cast<std::vector<LPSTR>*>(names)->push_back(name);
  return TRUE;
}

void checkIcons(const std::string& exe, const std::string& expected) {
  // The shell's view: one icon for the file, as Explorer and the taskbar take it.
  UINT groups = ExtractIconExA(exe.c_str(), -1, nullptr, nullptr, 0);
  HICON large = nullptr, small = nullptr;
  UINT extracted = ExtractIconExA(exe.c_str(), 0, &large, &small, 1);
  compare("icon groups", std::to_string(groups) + (extracted > 0 && large && small ? ", extracted" : ", none extracted"),
          expected == "0" ? "0, none extracted" : "1, extracted");
  if (large) DestroyIcon(large);
  if (small) DestroyIcon(small);

  HMODULE image = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  std::vector<LPSTR> names;
  EnumResourceNamesA(image, RT_ICON, collect, reinterpret_cast<LONG_PTR>(&names));
  std::string sizes;
  for (LPSTR name : names) {
    HRSRC found = FindResourceA(image, name, RT_ICON);
    auto* bits = static_cast<BYTE*>(LockResource(LoadResource(image, found)));
    HICON icon = CreateIconFromResourceEx(bits, SizeofResource(image, found), TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
    ICONINFO info = {};
    BITMAP bitmap = {};
    if (icon && GetIconInfo(icon, &info) && GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap)) {
      sizes += (sizes.empty() ? "" : " ") + std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight);
    } else {
      sizes += " (not loadable)";
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (icon) DestroyIcon(icon);
  }
  FreeLibrary(image);
  std::printf("%-17s %s\n", "icon images", sizes.c_str());
  compare("icon image count", std::to_string(names.size()), expected);
  if (sizes.find("not loadable") != std::string::npos) ++failures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: brand_read_back EXE EXPECTED\n");
    return 100;
  }
  std::map<std::string, std::string> expected;
  std::ifstream lines(argv[2]);
  for (std::string line; std::getline(lines, line);) {
    size_t equals = line.find('=');
    if (equals != std::string::npos) expected[line.substr(0, equals)] = line.substr(equals + 1);
  }
  checkVersionRecord(argv[1], expected);
  if (expected.count("Icons")) checkIcons(argv[1], expected["Icons"]);
  return failures;
}
