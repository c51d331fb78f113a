// The registry's records of Java runtimes, written with the system's own calls and read back.
// Other tests share the prefix's registry: every key here is named "kt-..." and only records of
// those versions are looked at.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "support/test_support.h"

namespace test {
namespace {

// A value written under Software, its bytes as stored (a string's zeros included).
struct Write {
  HKEY hive;
  REGSAM view;
  std::string key;
  const char* name;
  DWORD type;
  std::string bytes;
};

template <size_t N>
std::string withZero(const char (&text)[N]) { return std::string(text, N); }

// Removes what was written even when an expectation fails: each "kt-..." key with all below it,
// or the value alone on a key above them (JavaSoft's CurrentVersion).
struct Removal {
  const Write* first;
  const Write* last;
  ~Removal() {
    for (const Write* w = first; w != last; ++w) {
      const std::string key = "Software\\" + w->key;
      const size_t own = key.find("\\kt-"), end = key.find('\\', own + 1);
      const std::string above = key.substr(0, own);
      HKEY parent = nullptr;
      if (RegOpenKeyExA(w->hive, above.c_str(), 0, KEY_ALL_ACCESS | w->view, &parent) != 0) continue;
      if (own == std::string::npos) RegDeleteValueA(parent, w->name);
      else RegDeleteTreeA(parent, key.substr(own + 1, end - own - 1).c_str());
      RegCloseKey(parent);
    }
  }
};

TEST(JavaRegistryTest, ListsEachHomeOnceUserBeforeMachine64BitViewFirst) {
  const HKEY user = HKEY_CURRENT_USER, machine = HKEY_LOCAL_MACHINE;
  const REGSAM v64 = KEY_WOW64_64KEY, v32 = KEY_WOW64_32KEY;
  const std::string one("\1\0\0\0", 4);
  const std::string jdk = "Eclipse Adoptium\\JDK\\kt-21.0.2\\hotspot\\MSI";
  const std::string order = "Eclipse Adoptium\\JRE\\kt-order\\hotspot\\MSI";
  const std::string zulu = "Azul Systems\\Zulu\\kt-zulu-";
  const Write writes[] = {
      {user, v64, jdk, "Path", REG_SZ, withZero("C:\\KT\\Adoptium\\")},
      {user, v64, jdk, "JavaHome", REG_DWORD, one},
      {user, v64, "Semeru\\JRE\\kt-17.0.9\\openj9\\MSI", "Path", REG_EXPAND_SZ,
       withZero("%SystemRoot%\\KT\\")},
      {user, v64, "Microsoft\\JDK\\kt-11.0.1\\hotspot\\MSI", "Path", REG_DWORD, one},
      {user, v64, "JavaSoft\\JDK\\kt-25", "JavaHome", REG_SZ, withZero("C:\\KT\\JavaSoft")},
      {user, v64, "JavaSoft\\JDK", "CurrentVersion", REG_SZ, withZero("kt-25")},
      {user, v64, zulu + "21", "InstallationPath", REG_SZ, withZero("C:\\KT\\Zulu\0junk")},
      {machine, v64, zulu + "again", "InstallationPath", REG_SZ, withZero("c:\\kt\\ADOPTIUM\\")},
      {machine, v32, order, "Path", REG_SZ, withZero("C:\\KT\\Machine32")},
      {machine, v64, order, "Path", REG_SZ, withZero("C:\\KT\\Machine64")},
      {user, v64, order, "Path", REG_SZ, withZero("C:\\KT\\User")},
  };
  const Removal removal{std::begin(writes), std::end(writes)};
  for (const Write& w : writes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(w.hive, ("Software\\" + w.key).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | w.view, nullptr, &key, nullptr), 0) << w.key;
    RegSetValueExA(key, w.name, 0, w.type, reinterpret_cast<const BYTE*>(w.bytes.data()),
                   static_cast<DWORD>(w.bytes.size()));
    RegCloseKey(key);
  }
  // Not listed: the DWORD Path (kt-11.0.1), the Adoptium home again in other case (kt-zulu-again),
  // the user's keys a second time for the other view.
  const std::string systemRoot = std::getenv("SystemRoot");
  const std::string expected = "kt-21.0.2 C:\\KT\\Adoptium\\ Eclipse Adoptium\n"
                               "kt-order C:\\KT\\User Eclipse Adoptium\n"
                               "kt-17.0.9 " + systemRoot + "\\KT\\ Semeru\n"
                               "kt-25 C:\\KT\\JavaSoft JavaSoft\n"
                               "kt-zulu-21 C:\\KT\\Zulu Zulu\n"
                               "kt-order C:\\KT\\Machine64 Eclipse Adoptium\n"
                               "kt-order C:\\KT\\Machine32 Eclipse Adoptium\n";
  const RecordedRuntimes records = platformRecordedRuntimes();
  std::string listed;
  for (size_t i = 0; i < records.homes.size(); ++i) {
    if (toString(records.versions[i]).compare(0, 3, "kt-") != 0) continue;
    listed += toString(records.versions[i]) + " " + toString(records.homes[i]) + " " +
              toString(records.sources[i]) + "\n";
  }
  EXPECT_EQ(listed, expected);
}

}  // namespace
}  // namespace test
