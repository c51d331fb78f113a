// Reads the version record and the application manifest of a program beside this one the way
// Windows does (the version API, the resource loader, an activation context) and checks them.
// Usage: check_resources NAME VERSION DESCRIPTION   -- checks NAME.exe; VERSION is a.b.c
// Prints one line per failed check and exits with the number of failures.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int failures = 0;

// Process creation reads the manifest with this id (CREATEPROCESS_MANIFEST_RESOURCE_ID).
const ULONG_PTR kProcessManifestId = 1;

void check(bool ok, const std::string& what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what.c_str());
    ++failures;
  }
}

void checkEqual(const std::string& actual, const std::string& expected, const std::string& what) {
  check(actual == expected, what + ": \"" + actual + "\", expected \"" + expected + "\"");
}

std::string besideMe(const std::string& name) {
  char path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string self(path, n);
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

std::string hex(DWORD value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*lx", digits, static_cast<unsigned long>(value));
  return text;
}

void checkVersionRecord(const std::string& exe, const std::string& name, const std::string& version,
                        const std::string& description) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  check(size != 0, "version record present");
  if (size == 0) return;
  std::vector<char> record(size);
  if (!GetFileVersionInfoA(exe.c_str(), 0, size, record.data())) {
    check(false, "version record readable");
    return;
  }

  unsigned major = 0, minor = 0, patch = 0;
  std::sscanf(version.c_str(), "%u.%u.%u", &major, &minor, &patch);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length) &&
      length >= sizeof *fixed) {
    check(fixed->dwSignature == VS_FFI_SIGNATURE, "fixed record signature");
    std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionLS));
    checkEqual(numbers, version + ".0", "file version numbers");
    check(fixed->dwProductVersionMS == static_cast<DWORD>(MAKELONG(minor, major)) &&
              fixed->dwProductVersionLS == static_cast<DWORD>(MAKELONG(0, patch)),
          "product version numbers equal the file version numbers");
    check(fixed->dwFileType == VFT_APP, "file type is an application");
    check((fixed->dwFileFlags & fixed->dwFileFlagsMask & (VS_FF_DEBUG | VS_FF_PRERELEASE)) == 0,
          "no debug or pre-release flag");
  } else {
    check(false, "fixed version record present");
  }

  // The strings are looked up under the language and code page the record itself declares.
  WORD* translation = nullptr;
  if (!VerQueryValueA(record.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < 2 * sizeof(WORD)) {
    check(false, "translation entry present");
    return;
  }
  std::string block = "\\StringFileInfo\\" + hex(translation[0], 4) + hex(translation[1], 4) + "\\";
  struct Field {
    const char* key;
    std::string expected;
  } fields[] = {
      {"ProductName", "Kestrelune"},
      {"FileDescription", description},
      {"FileVersion", version + ".0"},
      {"ProductVersion", version + ".0"},
      {"InternalName", name},
      {"OriginalFilename", name + ".exe"},
  };
  for (const Field& field : fields) {
    char* value = nullptr;
    if (VerQueryValueA(record.data(), (block + field.key).c_str(), reinterpret_cast<void**>(&value),
                       &length) &&
        value != nullptr) {
      checkEqual(value, field.expected, field.key);
    } else {
      check(false, std::string(field.key) + " present");
    }
  }
}

BOOL CALLBACK countName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
  reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
  return TRUE;
}

bool holdsBytes(const void* data, size_t size, const void* pattern, size_t length) {
  const char* begin = static_cast<const char*>(data);
  for (size_t i = 0; i + length <= size; ++i) {
    if (std::memcmp(begin + i, pattern, length) == 0) return true;
  }
  return false;
}

void checkManifest(const std::string& exe) {
  HMODULE image =
      LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  check(image != nullptr, "program loads as a resource image");
  if (image == nullptr) return;

  // Only the manifest with id 1 counts; a second one would be a leftover.
  std::vector<ULONG_PTR> names;
  EnumResourceNamesA(image, RT_MANIFEST, countName, reinterpret_cast<LONG_PTR>(&names));
  check(names.size() == 1 && names[0] == kProcessManifestId,
        "exactly one manifest, with id 1 (found " + std::to_string(names.size()) + ")");

  HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(kProcessManifestId), RT_MANIFEST);
  std::string text;
  if (found != nullptr) {
    const char* data = static_cast<const char*>(LockResource(LoadResource(image, found)));
    if (data != nullptr) text.assign(data, SizeofResource(image, found));
  }
  FreeLibrary(image);
  check(!text.empty(), "manifest resource present");
  if (text.empty()) return;
  const char* wanted[] = {
      "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
      "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",
      "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",
      "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",
      "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
      "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>",
  };
  for (const char* line : wanted) {
    check(text.find(line) != std::string::npos, std::string("manifest holds ") + line);
  }
  // The launcher works in the system's ANSI code page; a manifest code page would replace it.
  check(text.find("activeCodePage") == std::string::npos, "manifest sets no activeCodePage");

  // The activation context that Windows builds from the manifest: it must parse, and carry the
  // run level and the supported systems.
  ACTCTXA context = {};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = exe.c_str();
  context.lpResourceName = MAKEINTRESOURCEA(kProcessManifestId);
  HANDLE handle = CreateActCtxA(&context);
  check(handle != INVALID_HANDLE_VALUE, "activation context built from the manifest");
  if (handle == INVALID_HANDLE_VALUE) return;

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
  SIZE_T written = 0;
  check(QueryActCtxW(0, handle, nullptr, RunlevelInformationInActivationContext, &level,
                     sizeof level, &written) &&
            level.RunLevel == ACTCTX_RUN_LEVEL_AS_INVOKER && level.UiAccess == 0,
        "run level as invoker, no UI access");

  // The element layout grew over the years; look for each identifier's bytes instead.
  std::vector<char> compatibility(4096);
  if (QueryActCtxW(0, handle, nullptr, CompatibilityInformationInActivationContext,
                   compatibility.data(), compatibility.size(), &written)) {
    const GUID systems[] = {
        {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},  // 7
        {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},  // 8
        {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},  // 8.1
        {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},  // 10, 11
    };
    DWORD count = *reinterpret_cast<DWORD*>(compatibility.data());
    check(count == 4, "four supported systems in the activation context (found " +
                          std::to_string(count) + ")");
    for (const GUID& system : systems) {
      check(holdsBytes(compatibility.data(), written, &system, sizeof system),
            "activation context supports system " + hex(system.Data1, 8));
    }
  } else {
    check(false, "compatibility information of the activation context");
  }
  ReleaseActCtx(handle);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::printf("usage: check_resources NAME VERSION DESCRIPTION\n");
    return 2;
  }
  std::string exe = besideMe(std::string(argv[1]) + ".exe");
  checkVersionRecord(exe, argv[1], argv[2], argv[3]);
  checkManifest(exe);
  if (failures == 0) std::printf("%s: version record and manifest as expected\n", exe.c_str());
  return failures;
}
