// POSIX only: the running launcher learns its path from /proc/self/exe, where every symbolic
// link is already resolved.
#include <climits>
#include <cstdlib>

#include "dry_run/full_path.h"
#include "util/paths.h"

namespace {

bool resolve(const CountedString& path, CountedString* out) {
  char buffer[PATH_MAX];
  if (realpath(path.data(), buffer) == nullptr) return false;
  *out = CountedString(buffer);
  return true;
}

}  // namespace

CountedString launcherFullPath(const CountedString& path) {
  CountedString resolved;
  if (resolve(path, &resolved)) return resolved;
  // A launcher not copied yet: resolve its directory and keep its name.
  CountedString directory = directoryOf(path);
  CountedString name = path.substring(directory.length(), path.length());
  if (!resolve(directory.empty() ? CountedString(".") : directory, &resolved)) return path;
  return resolved + (resolved == CountedString("/") ? "" : "/") + name;
}
