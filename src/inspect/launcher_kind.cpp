#include "inspect/launcher_kind.h"

#include <cstdint>
#include <cstring>

#include "launcher/messages.h"
#include "util/paths.h"
#include "platform/platform.h"
#include "util/run_conventions.h"

namespace {

constexpr int32_t kHeaderBytes = 4096;  // the linker puts the headers in the first page
constexpr uint16_t kGuiSubsystem = 2;   // IMAGE_SUBSYSTEM_WINDOWS_GUI

uint32_t little(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

// The first page of the file; length 0 when it cannot be read.
struct Header {
  unsigned char bytes[kHeaderBytes];
  int32_t length = 0;
};

void readHeader(const CountedString& path, Header* header) {
  intptr_t file = platformOpenInput(path);
  if (file < 0) return;
  char* bytes = reinterpret_cast<char*>(header->bytes);
  for (int32_t n; header->length < kHeaderBytes &&
                  (n = platformReadInput(file, bytes + header->length,
                                         kHeaderBytes - header->length)) > 0;) {
    header->length += n;
  }
  platformCloseInput(file);
}

// The offset of "PE\0\0" in a Windows program, else 0.
uint32_t peOffset(const Header& header) {
  if (header.length < 64 || header.bytes[0] != 'M' || header.bytes[1] != 'Z') return 0;
  uint32_t pe = little(header.bytes + 60, 4);
  return pe + 4 <= static_cast<uint32_t>(header.length) && little(header.bytes + pe, 4) == 0x4550
             ? pe
             : 0;
}

bool isElf(const Header& header) {
  return header.length >= 4 && std::memcmp(header.bytes, "\x7F" "ELF", 4) == 0;
}

// A word as a Linux shell reads it back: bare when it holds nothing the shell acts on, else in
// single quotes, a quote inside as '\''.
CountedString shellQuoted(const CountedString& word) {
  bool bare = !word.empty();
  for (int32_t i = 0; i < word.length() && bare; ++i) {
    const unsigned char byte = word.byteAt(i);
    bare = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') ||
           (byte != 0 && std::strchr("_@%+=:,./-", byte) != nullptr);
  }
  return bare ? word : "'" + word.replaceAll("'", "'\\''") + "'";
}

// Wine shows the Linux file system as drive Z:, so each path there has its twin on the other
// side; a Windows path on another drive has none (empty).
CountedString asWinePath(const CountedString& linuxPath) {
  return "Z:" + linuxPath.replaceAll("/", "\\");
}

CountedString asLinuxPath(const CountedString& windowsPath) {
  const unsigned char drive = windowsPath.byteAt(0);
  if ((drive != 'Z' && drive != 'z') || windowsPath.find(":\\") != 1) return CountedString();
  return windowsPath.substring(2, windowsPath.length()).replaceAll("\\", "/");
}

}  // namespace

bool isWindowedLauncher(const CountedString& path) {
  Header header;
  readHeader(path, &header);
  // The file header (20 bytes) follows "PE\0\0", then the optional header, whose subsystem field
  // sits at the same offset, 68, in 32- and 64-bit programs.
  const uint32_t pe = peOffset(header);
  const uint32_t subsystem = pe + 4 + 20 + 68;
  return pe != 0 && subsystem + 2 <= static_cast<uint32_t>(header.length) &&
         little(header.bytes + subsystem, 2) == kGuiSubsystem;
}

CountedString otherSystemLine(const CountedString& path, const CountedString& toolPath,
                              const TokenList& arguments) {
  Header header;
  readHeader(path, &header);
  const bool onLinux = runConventions().usesWholeNames;
  if (onLinux ? peOffset(header) == 0 : !isElf(header)) return CountedString();
  const CountedString folder = directoryOf(toolPath);
  CountedString command =
      onLinux ? "wine " + shellQuoted(folder + "kestrelune-inspect.exe") + " " +
                    shellQuoted(asWinePath(path))
              : shellQuoted(asLinuxPath(folder) + "kestrelune-inspect") + " " +
                    shellQuoted(asLinuxPath(path).empty() ? path : asLinuxPath(path));
  for (const CountedString& argument : arguments) command = command + " " + shellQuoted(argument);
  return onLinux ? windowsLauncherMessage(path, command) : linuxLauncherMessage(path, command);
}
