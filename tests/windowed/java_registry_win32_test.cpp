// java found through the registry, end to end. The registry rows name runtime folders that exist:
// they live here, in the prefix of the windowed tests, which run one after the other, so that no
// test of the shared prefix ever finds a Java it did not expect.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

struct RegistryRow {
  HKEY hive;
  REGSAM view;
  std::string key;    // under Software
  const char* value;  // what holds the folder
  std::string home;   // under the test's root
};

const char* const kVendorKeys[] = {"Eclipse Adoptium", "Azul Systems"};

class JavaRegistryTest : public LaunchFixture {
 protected:
  void SetUp() override {
    LaunchFixture::SetUp();
    installLauncher("tool");
    writeFile(join(binDir, "tool.kestrelune"), "java Main %*");
    hideJava();
    for (const char* home : {"Adoptium 21", "user 17", "machine 17", "zulu 22"}) {
      makeDirectory(root / home);
      makeDirectory(join(root / home, "bin"));
      installChild(join(root / home, "bin"), "java.exe");
    }
    writeFile(join(root / "Adoptium 21", "release"),
              "JAVA_VERSION=\"21.0.2\"\nJAVA_RUNTIME_VERSION=\"21.0.2+13-LTS\"\n");
    writeFile(join(root / "zulu 22", "release"), "JAVA_VERSION=\"22\"\n");
  }
  void TearDown() override { clear(); }

  void clear() {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY software = nullptr;
        if (RegOpenKeyExA(hive, "Software", 0, KEY_ALL_ACCESS | view, &software) != 0) continue;
        for (const char* vendor : kVendorKeys) RegDeleteTreeA(software, vendor);
        RegCloseKey(software);
      }
    }
  }

  void write(const std::vector<RegistryRow>& rows) {
    clear();
    for (const RegistryRow& row : rows) {
      HKEY key = nullptr;
      ASSERT_EQ(RegCreateKeyExA(row.hive, ("Software\\" + row.key).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS | row.view, nullptr, &key, nullptr), 0);
      const std::string home = root / row.home + "\\";
      RegSetValueExA(key, row.value, 0, REG_SZ, reinterpret_cast<const BYTE*>(home.c_str()),
                     static_cast<DWORD>(home.size() + 1));
      RegCloseKey(key);
    }
  }
};

// Of the runtimes the registry records, the highest version that exists; a user's before the
// machine's of one version; PATH and JAVA_HOME before any of them.
TEST_F(JavaRegistryTest, HighestVersionThatExistsAfterPathAndJavaHome) {
  const HKEY user = HKEY_CURRENT_USER, machine = HKEY_LOCAL_MACHINE;
  const REGSAM v64 = KEY_WOW64_64KEY, v32 = KEY_WOW64_32KEY;
  const std::string msi = "Eclipse Adoptium\\JDK\\";
  const RegistryRow adoptium21 = {user, v64, msi + "21.0.2.13\\hotspot\\MSI", "Path", "Adoptium 21"};
  const RegistryRow user17 = {user, v64, msi + "17.0.9.9\\hotspot\\MSI", "Path", "user 17"};
  const RegistryRow machine17 = {machine, v32, msi + "17.0.9.9\\hotspot\\MSI", "Path", "machine 17"};
  const RegistryRow gone = {machine, v64, msi + "99.0.0.1\\hotspot\\MSI", "Path", "gone"};
  const RegistryRow zulu = {machine, v64, "Azul Systems\\Zulu\\zulu-22", "InstallationPath",
                            "zulu 22"};
  struct Case {
    std::vector<RegistryRow> rows;
    std::string variable;  // set to a runtime's folder (PATH: to the one PATH leads to), or none
    std::string runs;      // the runtime whose java runs; "path" for PATH's
  };
  const Case cases[] = {
      {{adoptium21}, "", "Adoptium 21"},
      {{machine17, user17}, "", "user 17"},
      {{user17, gone, adoptium21, zulu}, "", "zulu 22"},
      {{zulu, gone}, "JAVA_HOME", "machine 17"},
      {{zulu}, "PATH", "path"},
  };
  for (const Case& c : cases) {
    write(c.rows);
    hideJava();
    if (c.variable == "JAVA_HOME") environment["JAVA_HOME"] = root / c.runs;
    if (c.variable == "PATH") environment["PATH"] = javaDir;
    const std::string java = c.runs == "path" ? join(javaDir, "java.exe")
                                              : join(join(root / c.runs, "bin"), "java.exe");
    removeFile(root / "record");
    RunResult result = launch("a");
    EXPECT_EQ(record().arguments, (Arguments{"Main", "a"})) << c.runs << "\n" << result.err;
    EXPECT_EQ(record().raw.rfind(c.runs == "path" ? "java Main" : "\"" + java + "\" Main", 0), 0u)
        << record().raw;
  }
}

// The case of the user who installed Java for themselves: kestrelune-inspect shows where it comes
// from and which version its release file records.
TEST_F(JavaRegistryTest, InspectShowsTheRegistrysJava) {
  write({{HKEY_CURRENT_USER, KEY_WOW64_64KEY, "Eclipse Adoptium\\JRE\\21.0.2.13\\hotspot\\MSI",
          "Path", "Adoptium 21"}});
  RunResult shown =
      runProgram(builtProgram("kestrelune-inspect"), "\"" + launcher + "\"", environment, root.path());
  const std::string java = join(join(root / "Adoptium 21", "bin"), "java.exe");
  EXPECT_NE(shown.out.find("java:         " + java +
                           " (registry: Eclipse Adoptium, 21.0.2+13-LTS)\r\n"),
            std::string::npos)
      << shown.out << shown.err;
}

}  // namespace
}  // namespace test
