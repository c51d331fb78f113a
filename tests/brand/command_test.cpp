// kestrelune-brand as a packager runs it, on real files: the exit status, the one error line,
// and an existing output left untouched by every refusal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "brand/command.h"
#include "brand/branding.h"
#include "launcher_fixture.h"
#include "support/test_support.h"

namespace {

std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(BrandCommand, RefusesWithOneLineAndLeavesTheOutput) {
  test::TempDir dir;
  Bytes launcher = fixture::launcher(markerVersion().c_str());
  Bytes signedLauncher = launcher;
  setU32(signedLauncher, fixture::kDirectoriesAt + 4 * 8 + 4, 8);
  test::writeFile(dir / "kestrelune.exe", text(launcher));
  test::writeFile(dir / "signed.exe", text(signedLauncher));
  test::writeFile(dir / "app.ico", text(fixture::icon()));
  test::writeFile(dir / "broken.ico", std::string("\0\0\1\0\1\0", 6));
  test::makeDirectory(dir / "folder");
  const bool fifo = test::makeFifo(dir / "pipe");
  const bool links = test::makeSymlink("tool.exe", dir / "link.exe") && test::makeSymlink("gone.exe", dir / "dangling.exe");
  const std::string old = "the old output";

  // "D/" in the rows stands for the folder.
  auto expand = [&](std::string text) {
    const std::string folder = dir.path() + test::separator();  // may itself hold "D/"
    for (size_t at = 0; (at = text.find("D/", at)) != std::string::npos; at += folder.size()) {
      text.replace(at, 2, folder);
    }
    return text;
  };
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string message;  // the start of what is printed; "" for success with tool.exe written
    bool here = true;     // false where the platform could not make the output named
  } cases[] = {
      {{"--icon", "D/app.ico", "--version", "2.1", "D/kestrelune.exe", "D/tool.exe"}, 0, ""},
      {{"--icon", "D/missing.ico", "D/kestrelune.exe", "D/tool.exe"}, 1, "error: D/missing.ico: cannot open: "},
      {{"--icon", "D/broken.ico", "D/kestrelune.exe", "D/tool.exe"}, 1, "error: D/broken.ico: the icon directory is cut short\n"},
      {{"--icon", "D/kestrelune.exe", "D/kestrelune.exe", "D/tool.exe"}, 1, "error: D/kestrelune.exe: not an icon file\n"},
      {{"D/app.ico", "D/tool.exe"}, 1, "error: D/app.ico: not a Windows program\n"},
      {{"D/signed.exe", "D/tool.exe"}, 1, "error: D/signed.exe is signed; brand it before signing\n"},
      {{"--version", "1.2.3.65536", "D/kestrelune.exe", "D/tool.exe"}, 1,
       "error: --version: \"1.2.3.65536\" is not a version: 1 to 4 numbers from 0 to 65535, such as 2.1.0.7\n"},
      {{"--product", "\xC3(", "D/kestrelune.exe", "D/tool.exe"}, 1, "error: --product: \"\xC3(\" is not valid UTF-8\n"},
      {{"D/kestrelune.exe", "D/no-such-folder/tool.exe"}, 1, "error: D/no-such-folder/tool.exe: cannot write: "},
      {{"--colour", "red", "D/kestrelune.exe", "D/tool.exe"}, 2, "error: unknown option --colour\nusage: "},
      {{"D/kestrelune.exe"}, 2, "error: expected the launcher and the output, got 1 names\nusage: "},
      {{"D/kestrelune.exe", "D/tool.exe", "--icon"}, 2, "error: --icon needs a value\nusage: "},
      {{"--icon=D/app.ico", "--product=", "--version=2.1", "D/kestrelune.exe", "D/tool.exe"}, 0, ""},
      {{"--version=1.2.3.65536", "D/kestrelune.exe", "D/tool.exe"}, 1, "error: --version: \"1.2.3.65536\" is not"},
      {{"--icon=", "D/kestrelune.exe", "D/tool.exe"}, 2, "error: --icon needs a value\nusage: "},
      {{"--version"}, 0, "kestrelune-brand " + markerVersion() + "\n"},
      {{"--help"}, 0, "usage: "},
      {{"D/kestrelune.exe", "D/folder"}, 1, "error: D/folder is a directory, not a regular file\n"},
      {{"D/kestrelune.exe", "D/pipe"}, 1, "error: D/pipe is a named pipe, not a regular file\n", fifo},
      // A link is followed: tool.exe, which it names, is written and the link stays.
      {{"D/kestrelune.exe", "D/link.exe"}, 0, "", links},
      {{"D/kestrelune.exe", "D/dangling.exe"}, 1, "error: D/dangling.exe is a symbolic link to D/gone.exe, which does not exist\n", links},
  };
  for (const Case& c : cases) {
    if (!c.here) continue;
    std::vector<std::string> arguments;
    for (const std::string& a : c.arguments) arguments.push_back(expand(a));
    std::string expected = expand(c.message);
    test::writeFile(dir / "tool.exe", old);
    std::string message;
    int status = runBrandCommand(arguments, message);
    std::string row;
    for (const std::string& a : c.arguments) row += a + " ";
    EXPECT_EQ(status, c.status) << row << "\n" << message;
    EXPECT_EQ(message.compare(0, expected.size(), expected), 0) << row << "\n" << message << "expected: " << expected;
    if (c.status != 0 || !c.message.empty()) {
      if (c.status == 1) {
        EXPECT_EQ(message.find('\n'), message.size() - 1) << row << ": not one line";
      }
      EXPECT_EQ(test::readFile(dir / "tool.exe"), old) << row << ": the output changed";
    } else {
      EXPECT_NE(test::readFile(dir / "tool.exe"), old) << row;
    }
  }
}

}  // namespace
