// A document and a URL opened as Explorer opens them (ShellExecuteEx, which Wine's start uses
// too), through the keys of the cookbook's .reg files imported with reg.exe: the program gets
// exactly the document's path or the URL, and nothing else runs. Wine 8.0 looks associations up
// among the machine's keys only, never the user's (HKEY_CURRENT_USER\Software\Classes), so each
// file is imported in its per-machine form, the one difference the cookbook names.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "e2e/launch_fixture.h"
#include "embedded_texts.h"

namespace test {
namespace {

const char kUserClasses[] = "HKEY_CURRENT_USER\\Software\\Classes";
const char kMachineClasses[] = "HKEY_LOCAL_MACHINE\\Software\\Classes";

// The ```reg blocks of the cookbook, in order.
std::vector<std::string> cookbookRegFiles() {
  std::vector<std::string> files;
  for (const EmbeddedText& text : kEmbeddedTexts) {
    if (std::strcmp(text.name, "docs/cookbook.md") != 0) continue;
    const std::string page = text.text;
    const std::string fence = "```reg\n";
    for (size_t at = page.find(fence); at != std::string::npos; at = page.find(fence, at)) {
      at += fence.size();
      files.push_back(page.substr(at, page.find("\n```", at) + 1 - at));
    }
  }
  return files;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

class AssociationTest : public LaunchFixture {
 protected:
  void TearDown() override {
    for (const std::string& key : keys_) RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    SetEnvironmentVariableA("KESTRELUNE_RECORD", nullptr);
  }

  /// Imports the .reg text per machine, with the application in appDir.
  void import(const std::string& reg) {
    std::string text = replaced(reg, kUserClasses, kMachineClasses);
    text = replaced(text, "C:\\\\Apps\\\\Tool", replaced(appDir, "\\", "\\\\"));
    for (size_t at = text.find("\n[HKEY_LOCAL_MACHINE\\"); at != std::string::npos;
         at = text.find("\n[HKEY_LOCAL_MACHINE\\", at + 1)) {
      const size_t start = at + 21;
      keys_.push_back(text.substr(start, text.find(']', start) - start));
    }
    writeFile(root / "tool.reg", replaced(text, "\n", "\r\n"));
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    RunResult imported = runProgram(join(system, "reg.exe"), "import \"" + root / "tool.reg" + "\"",
                                    environment, root.path());
    ASSERT_EQ(imported.status, 0u) << imported.out << imported.err;
  }

  std::vector<std::string> keys_;
};

TEST_F(AssociationTest, OpensThroughTheCookbooksKeys) {
  const std::vector<std::string> files = cookbookRegFiles();
  ASSERT_EQ(files.size(), 2u) << "the file association's and the URL scheme's";
  launcherProgram = "kestrelunew";
  installLauncher("tool");
  writeFile(join(binDir, "tool.kestrelune"), "\"" + join(javaDir, "java.exe") + "\" %*");
  const std::string documents = root / "documents";
  makeDirectory(documents);
  writeFile(join(documents, "R&D 100%!.map"), "map");
  SetEnvironmentVariableA("KESTRELUNE_RECORD", (root / "record").c_str());
  const struct {
    size_t file;
    std::string target;  // what is opened
    const char* split;   // what the interpreter would run, from the current folder, after a & split
  } cases[] = {
      {0, join(documents, "R&D 100%!.map"), "D.bat"},
      {1, "tool://open?id=7&mode=view%20all", "mode.bat"},
  };
  for (const auto& c : cases) {
    import(files[c.file]);
    writeFile(join(documents, c.split), "@echo ran> \"" + root / "stray" + "\"\r\n");
    removeFile(root / "record");
    const std::wstring file(c.target.begin(), c.target.end());
    const std::wstring folder(documents.begin(), documents.end());
    SHELLEXECUTEINFOW open = {};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    open.lpFile = file.c_str();
    open.lpDirectory = folder.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&open)) << c.target << ": error " << GetLastError();
    ASSERT_NE(open.hProcess, nullptr) << c.target;
    EXPECT_EQ(WaitForSingleObject(open.hProcess, 30000), WAIT_OBJECT_0) << c.target;
    DWORD status = 0xDEAD;
    GetExitCodeProcess(open.hProcess, &status);
    CloseHandle(open.hProcess);
    EXPECT_EQ(status, 0u) << c.target;
    EXPECT_EQ(record().arguments, std::vector<std::string>{c.target});
    EXPECT_EQ(GetFileAttributesA((root / "stray").c_str()), INVALID_FILE_ATTRIBUTES) << c.target;
  }
}

}  // namespace
}  // namespace test
