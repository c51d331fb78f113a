#include "platform/file_queries.h"

#include "platform/platform.h"
#include "util/wildcard.h"

bool pathExists(const CountedString& path) {
  return !path.empty() && platformPathExists(path);
}

bool isRegularFile(const CountedString& path) {
  return !path.empty() && platformIsRegularFile(path);
}

TokenList matchingNames(const CountedString& pattern) {
  bool matched = false;
  TokenList entries = platformDirectoryEntries(pattern, &matched);
  return matched ? entries : namesMatching(pattern, entries);
}
