// java found through the registry, end to end. The registry's record names a runtime folder that
// exists: it lives here, in the prefix of the windowed tests, which run one after the other, so
// that no test of the shared prefix ever finds a Java it did not expect. Which of several records
// wins is the search's business (tests/launcher/java_search_test.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/launch_fixture.h"

namespace test {
namespace {

using Arguments = std::vector<std::string>;

const char kKey[] = "Software\\Eclipse Adoptium\\JDK\\21.0.2.13\\hotspot\\MSI";

class JavaRegistryTest : public LaunchFixture {
 protected:
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Eclipse Adoptium"); }
};

// The case of the user who installed Java for themselves, with no java along PATH: the
// registry's runtime starts, and kestrelune-inspect shows where it comes from and which version
// its release file records.
TEST_F(JavaRegistryTest, APerUserInstallIsFoundStartedAndShown) {
  installLauncher("tool");
  writeFile(join(binDir, "tool.kestrelune"), "java Main %*");
  hideJava();
  const std::string home = root / "Adoptium 21";
  makeDirectory(home);
  makeDirectory(join(home, "bin"));
  installChild(join(home, "bin"), "java.exe");
  writeFile(join(home, "release"),
            "JAVA_VERSION=\"21.0.2\"\nJAVA_RUNTIME_VERSION=\"21.0.2+13-LTS\"\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr), 0);
  const std::string path = home + "\\";  // as the installer writes it
  RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                 static_cast<DWORD>(path.size() + 1));
  RegCloseKey(key);

  const std::string java = join(join(home, "bin"), "java.exe");
  RunResult result = launch("a");
  EXPECT_EQ(record().arguments, (Arguments{"Main", "a"})) << result.err;
  EXPECT_EQ(record().raw, "\"" + java + "\" Main a");
  RunResult shown =
      runProgram(builtProgram("kestrelune-inspect"), "\"" + launcher + "\"", environment, root.path());
  EXPECT_NE(shown.out.find("java:         " + java +
                           " (registry: Eclipse Adoptium, 21.0.2+13-LTS)\r\n"),
            std::string::npos)
      << shown.out << shown.err;
}

}  // namespace
}  // namespace test
