#include "inspect/launcher_kind.h"

#include <cstdint>

#include "platform/platform.h"

namespace {

constexpr int32_t kHeaderBytes = 4096;  // the linker puts the headers in the first page
constexpr uint16_t kGuiSubsystem = 2;   // IMAGE_SUBSYSTEM_WINDOWS_GUI

uint32_t little(const unsigned char* bytes, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

}  // namespace

bool isWindowedLauncher(const CountedString& path) {
  intptr_t file = platformOpenInput(path);
  if (file < 0) return false;
  unsigned char header[kHeaderBytes];
  int32_t length = 0;
  for (int32_t n; length < kHeaderBytes &&
                  (n = platformReadInput(file, reinterpret_cast<char*>(header) + length,
                                         kHeaderBytes - length)) > 0;) {
    length += n;
  }
  platformCloseInput(file);
  if (length < 64 || header[0] != 'M' || header[1] != 'Z') return false;
  // "PE\0\0", the file header (20 bytes), then the optional header, whose subsystem field sits at
  // the same offset, 68, in 32- and 64-bit programs.
  uint32_t pe = little(header + 60, 4);
  uint32_t subsystem = pe + 4 + 20 + 68;
  return subsystem + 2 <= static_cast<uint32_t>(length) && little(header + pe, 4) == 0x4550 &&
         little(header + subsystem, 2) == kGuiSubsystem;
}
