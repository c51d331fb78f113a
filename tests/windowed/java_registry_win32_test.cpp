// java found through the registry, end to end. The registry's records name runtime folders that
// exist: they live here, in the prefix of the windowed tests, which run one after the other, so
// that no test of the shared prefix ever finds a Java it did not expect. Which of several usable
// records wins is the search's business (tests/launcher/java_search_test.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

const char* const kVendors[] = {"Software\\Eclipse Adoptium", "Software\\JavaSoft",
                                "Software\\Azul Systems"};

class JavaRegistryTest : public LaunchFixture {
 protected:
  void TearDown() override {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      for (const char* vendor : kVendors) RegDeleteTreeA(hive, vendor);
    }
  }
};

// A user's own install with the installer's trailing backslash and a DWORD flag named JavaHome
// beside it; a machine's record of a later version whose folder is gone; a REG_EXPAND_SZ record
// of the latest. Each write changes which java starts; kestrelune-inspect shows the last.
TEST_F(JavaRegistryTest, RecordsOfTheVendorsAreFoundStartedAndShown) {
  installLauncher("tool");
  writeFile(join(binDir, "tool.kestrelune"), "java Main %*");
  hideJava();
  environment["KT_ROOT"] = root.path();
  for (const char* home : {"Adoptium 21", "zulu 22"}) {
    makeDirectory(root / home);
    makeDirectory(join(root / home, "bin"));
    installChild(join(root / home, "bin"), "java.exe");
  }
  writeFile(join(root / "zulu 22", "release"), "JAVA_RUNTIME_VERSION=\"22.0.1+8\"\n");
  const std::string one("\1\0\0\0", 4);
  const struct {
    HKEY hive;
    REGSAM view;
    const char* key;  // under Software
    const char* value;
    DWORD type;
    std::string data;
    const char* runs;  // whose java runs once this is written
  } writes[] = {
      {HKEY_CURRENT_USER, 0, "Eclipse Adoptium\\JDK\\21.0.2.13\\hotspot\\MSI", "JavaHome",
       REG_DWORD, one, nullptr},
      {HKEY_CURRENT_USER, 0, "Eclipse Adoptium\\JDK\\21.0.2.13\\hotspot\\MSI", "Path", REG_SZ,
       root / "Adoptium 21" + "\\", "Adoptium 21"},
      {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "JavaSoft\\JDK\\99", "JavaHome", REG_SZ,
       root / "gone", nullptr},
      {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, "JavaSoft\\JDK", "CurrentVersion", REG_SZ, "99",
       "Adoptium 21"},
      {HKEY_LOCAL_MACHINE, 0, "Azul Systems\\Zulu\\zulu-22", "InstallationPath", REG_EXPAND_SZ,
       "%KT_ROOT%\\zulu 22", "zulu 22"},
  };
  for (const auto& w : writes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(w.hive, (std::string("Software\\") + w.key).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS | w.view, nullptr, &key, nullptr), 0);
    const std::string data = w.type == REG_DWORD ? w.data : w.data + '\0';
    RegSetValueExA(key, w.value, 0, w.type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    if (w.runs == nullptr) continue;
    removeFile(root / "record");
    RunResult result = launch("a");
    EXPECT_EQ(record().arguments, (Arguments{"Main", "a"})) << w.key << "\n" << result.err;
    EXPECT_EQ(record().raw, "\"" + join(join(root / w.runs, "bin"), "java.exe") + "\" Main a")
        << w.key;
  }
  RunResult shown =
      runProgram(builtProgram("kestrelune-inspect"), "\"" + launcher + "\"", environment, root.path());
  EXPECT_NE(shown.out.find("java:         " + join(join(root / "zulu 22", "bin"), "java.exe") +
                           " (registry: Zulu, 22.0.1+8)\r\n"),
            std::string::npos)
      << shown.out << shown.err;
}

}  // namespace
}  // namespace test
