// Windows only: a module path is absolute and normalised ("." and ".." gone, "/" turned into
// "\"), which is what GetFullPathNameA makes of a path.
#include <windows.h>

#include <vector>

#include "dry_run/full_path.h"

CountedString launcherFullPath(const CountedString& path) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetFullPathNameA(path.data(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) return path;
    if (n < buffer.size()) return CountedString(buffer.data(), static_cast<int32_t>(n));
    buffer.resize(n + 1);  // n is the size needed, terminating zero included
  }
}
