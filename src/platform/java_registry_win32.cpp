// The Java runtimes that the registry records (platformRecordedRuntimes in platform.h). Only code
// for Windows lives here.
#include <windows.h>

#include <cstring>
#include <memory>
#include <utility>

#include "platform/platform.h"
#include "util/text_helpers.h"

namespace {

// advapi32 is loaded only when a search reaches the registry: a launcher that finds its Java
// elsewhere never pays for it, and its import table keeps to kernel32 and the C runtime.
struct RegistryCalls {
  decltype(&RegOpenKeyExA) openKey = nullptr;
  decltype(&RegEnumKeyExA) enumKey = nullptr;
  decltype(&RegQueryValueExA) queryValue = nullptr;
  decltype(&RegCloseKey) closeKey = nullptr;
};
RegistryCalls calls;

template <typename Function>
Function lookUp(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool loadRegistryCalls() {
  if (calls.openKey == nullptr) {
    HMODULE advapi32 = LoadLibraryA("advapi32.dll");
    if (advapi32 == nullptr) return false;
    calls.enumKey = lookUp<decltype(calls.enumKey)>(advapi32, "RegEnumKeyExA");
    calls.queryValue = lookUp<decltype(calls.queryValue)>(advapi32, "RegQueryValueExA");
    calls.closeKey = lookUp<decltype(calls.closeKey)>(advapi32, "RegCloseKey");
    calls.openKey = lookUp<decltype(calls.openKey)>(advapi32, "RegOpenKeyExA");
  }
  return calls.openKey != nullptr && calls.enumKey != nullptr && calls.queryValue != nullptr &&
         calls.closeKey != nullptr;
}

// A key opened for reading in one view of the registry, closed when it goes. A missing key (or
// one under a missing parent) holds null, and reads as one without values or subkeys.
class Key {
 public:
  Key(HKEY parent, const char* path, REGSAM view) {
    if (parent == nullptr || calls.openKey(parent, path, 0, KEY_READ | view, &handle_) != ERROR_SUCCESS) {
      handle_ = nullptr;
    }
  }
  ~Key() {
    if (handle_ != nullptr) calls.closeKey(handle_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY handle() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

// Far beyond any folder; a larger value is no path of ours.
constexpr DWORD kValueLimit = 32 * 1024;

// The variables of a REG_EXPAND_SZ text filled in; empty when the system cannot.
CountedString expanded(const CountedString& text) {
  for (DWORD size = MAX_PATH;;) {
    std::unique_ptr<char[]> buffer(new char[size]);
    const DWORD needed = ExpandEnvironmentStringsA(text.data(), buffer.get(), size);
    if (needed == 0 || needed > kValueLimit) return CountedString();
    if (needed < size) return CountedString(buffer.get());
    size = needed + 1;  // the ANSI form may ask for one byte more than it writes
  }
}

// A string value: REG_SZ as stored, REG_EXPAND_SZ expanded; empty when it is missing, of another
// type (the MSI keys hold DWORD flags named like paths) or too large. The stored terminating
// zero is not relied on: the text ends at the first zero or with the bytes returned.
CountedString stringValue(HKEY key, const char* name) {
  if (key == nullptr) return CountedString();
  std::unique_ptr<char[]> bytes(new char[kValueLimit]);
  DWORD type = REG_NONE;
  DWORD size = kValueLimit;
  if (calls.queryValue(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.get()), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return CountedString();
  }
  const char* zero = static_cast<const char*>(std::memchr(bytes.get(), 0, size));
  const size_t length = zero != nullptr ? static_cast<size_t>(zero - bytes.get()) : size;
  const CountedString text(bytes.get(), static_cast<int32_t>(length));
  return type == REG_EXPAND_SZ ? expanded(text) : text;
}

// The names of a key's subkeys, in the registry's order.
TokenList subkeyNames(HKEY key) {
  TokenList names;
  if (key == nullptr) return names;
  char name[512];  // 255 characters, each two bytes at most in a double-byte code page
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    const LONG status = calls.enumKey(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return names;
    names.append(CountedString(name, static_cast<int32_t>(length)));
  }
}

// Both views show the keys of HKCU\Software, and one installation may be recorded under several
// vendors' keys: a home already listed is not listed again.
void addRecord(RecordedRuntimes* records, CountedString home, const CountedString& version,
               const char* source) {
  if (home.empty()) return;
  for (const CountedString& listed : records->homes) {
    if (sameNoCase(listed, home.data())) return;
  }
  records->homes.append(std::move(home));
  records->versions.append(version);
  records->sources.append(CountedString(source));
}

// The keys the MSI installers keep under their vendor's name:
// <vendor>\{JDK,JRE}\<version>\<jvm>\MSI, value Path.
const char* const kMsiVendors[] = {"Eclipse Adoptium", "Eclipse Foundation", "AdoptOpenJDK",
                                   "Microsoft", "Semeru"};

void readMsiVendor(HKEY software, REGSAM view, const char* vendor, RecordedRuntimes* records) {
  for (const char* kind : {"\\JDK", "\\JRE"}) {
    const Key root(software, (CountedString(vendor) + kind).data(), view);
    for (const CountedString& version : subkeyNames(root.handle())) {
      const Key release(root.handle(), version.data(), view);
      for (const CountedString& jvm : subkeyNames(release.handle())) {
        const Key msi(release.handle(), (jvm + "\\MSI").data(), view);
        addRecord(records, stringValue(msi.handle(), "Path"), version, vendor);
      }
    }
  }
}

// JavaSoft\<kind>: CurrentVersion names the subkey whose JavaHome is the home.
void readJavaSoft(HKEY software, REGSAM view, RecordedRuntimes* records) {
  for (const char* kind : {"JavaSoft\\JDK", "JavaSoft\\JRE", "JavaSoft\\Java Development Kit",
                           "JavaSoft\\Java Runtime Environment"}) {
    const Key root(software, kind, view);
    const CountedString current = stringValue(root.handle(), "CurrentVersion");
    if (current.empty()) continue;
    const Key release(root.handle(), current.data(), view);
    addRecord(records, stringValue(release.handle(), "JavaHome"), current, "JavaSoft");
  }
}

// Azul Systems\Zulu\<name>, value InstallationPath; the key's name stands for the version.
void readZulu(HKEY software, REGSAM view, RecordedRuntimes* records) {
  const Key root(software, "Azul Systems\\Zulu", view);
  for (const CountedString& name : subkeyNames(root.handle())) {
    const Key install(root.handle(), name.data(), view);
    addRecord(records, stringValue(install.handle(), "InstallationPath"), name, "Zulu");
  }
}

// The vendors' own keys come before JavaSoft's: of two records of one folder the first stays,
// and theirs names the whole version where CurrentVersion often names only the release ("21").
void readView(HKEY hive, REGSAM view, RecordedRuntimes* records) {
  const Key software(hive, "SOFTWARE", view);
  if (software.handle() == nullptr) return;
  for (const char* vendor : kMsiVendors) readMsiVendor(software.handle(), view, vendor, records);
  readJavaSoft(software.handle(), view, records);
  readZulu(software.handle(), view, records);
}

}  // namespace

RecordedRuntimes platformRecordedRuntimes() {
  RecordedRuntimes records;
  if (!loadRegistryCalls()) return records;
  for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    readView(hive, KEY_WOW64_64KEY, &records);
    readView(hive, KEY_WOW64_32KEY, &records);
  }
  return records;
}
