// Windows side of host.h: wide-character calls throughout, the file names converted from UTF-8.
#include <windows.h>

#include <cstdio>

#include "brand/host.h"

namespace {

std::wstring wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string utf8(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], n, nullptr, nullptr);
  return out;
}

// The system's message for `error`, on one line.
std::string reasonOf(const char* what, DWORD error) {
  char text[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                           sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ' || text[n - 1] == '.')) --n;
  std::string reason = std::string(what) + ": " + (n > 0 ? std::string(text, n) : "error " + std::to_string(error));
  return reason;
}

}  // namespace

std::vector<std::string> commandLineWords(int, char**) {
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; words != nullptr && i < count; ++i) arguments.push_back(utf8(words[i]));
  LocalFree(words);
  return arguments;
}

Bytes readWholeFile(const std::string& path) {
  HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw BrandError(reasonOf("cannot open", GetLastError()));
  Bytes content;
  uint8_t buffer[65536];
  DWORD n = 0;
  BOOL ok;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &n, nullptr)) && n > 0) content.insert(content.end(), buffer, buffer + n);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) throw BrandError(reasonOf("cannot read", error));
  return content;
}

std::string outputFile(const std::string& path) {
  std::wstring name = wide(path);
  // The system's own spelling shows the devices: NUL, CON, COM1 and \\.\pipe\... become \\.\NAME.
  wchar_t full[MAX_PATH + 1];
  DWORD n = GetFullPathNameW(name.c_str(), MAX_PATH + 1, full, nullptr);
  if (n > 0 && n <= MAX_PATH && wcsncmp(full, L"\\\\.\\", 4) == 0) throw BrandError("is a device, not a regular file");
  // Opened for no access at all, so that nothing is read or written; links are followed.
  HANDLE file = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // A name that is listed but cannot be opened is a link to nothing: Windows lists it as a
    // reparse point, Wine lists the name and then skips it. Else a new file is made here, or
    // replaceFile says why it cannot be.
    WIN32_FIND_DATAW entry;
    HANDLE found = GetLastError() == ERROR_FILE_NOT_FOUND ? FindFirstFileW(name.c_str(), &entry) : INVALID_HANDLE_VALUE;
    bool listed = found != INVALID_HANDLE_VALUE ? (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
                                                : GetLastError() == ERROR_NO_MORE_FILES;
    if (found != INVALID_HANDLE_VALUE) FindClose(found);
    if (listed) throw BrandError("is a symbolic link to nothing, not a regular file");
    return path;
  }
  const char* kind = nullptr;
  BY_HANDLE_FILE_INFORMATION info;
  DWORD type = GetFileType(file);
  if (type == FILE_TYPE_CHAR) {
    kind = "a device";
  } else if (type == FILE_TYPE_PIPE) {
    kind = "a pipe";
  } else if (type != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) {
    kind = "a special file";
  } else if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    kind = "a directory";
  }
  // The file a link names, spelt \\?\C:\... or \\?\UNC\server\share\...
  std::wstring resolved(32768, L'\0');
  DWORD length = kind == nullptr ? GetFinalPathNameByHandleW(file, &resolved[0], 32768, FILE_NAME_NORMALIZED) : 0;
  CloseHandle(file);
  if (kind != nullptr) throw BrandError(std::string("is ") + kind + ", not a regular file");
  if (length == 0 || length >= 32768) return path;
  std::string target = utf8(resolved.c_str());
  if (target.compare(0, 8, "\\\\?\\UNC\\") == 0) return "\\\\" + target.substr(8);
  if (target.compare(0, 4, "\\\\?\\") == 0) return target.substr(4);
  return target;
}

void replaceFile(const std::string& path, const Bytes& content) {
  std::string name = fileNameOf(path);
  std::wstring directory = wide(path.substr(0, path.size() - name.size()));
  if (directory.empty()) directory = L".";
  wchar_t temporary[MAX_PATH + 1];
  if (GetTempFileNameW(directory.c_str(), L"kbr", 0, temporary) == 0) {
    throw BrandError(reasonOf("cannot write", GetLastError()));
  }
  HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  bool ok = file != INVALID_HANDLE_VALUE &&
            WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
            written == content.size();
  DWORD error = GetLastError();
  if (file != INVALID_HANDLE_VALUE && !CloseHandle(file) && ok) {
    ok = false;
    error = GetLastError();
  }
  // A plain rename does not replace an existing file on Windows.
  if (ok && !MoveFileExW(temporary, wide(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileW(temporary);
    throw BrandError(reasonOf("cannot write", error));
  }
}

std::string fileNameOf(const std::string& path) { return path.substr(path.find_last_of("\\/:") + 1); }
