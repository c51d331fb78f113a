#include "platform/file_queries.h"

#include <algorithm>

#include "platform/platform.h"
#include "util/byte_buffer.h"
#include "util/wildcard.h"

bool pathExists(const CountedString& path) {
  return !path.empty() && platformPathExists(path);
}

bool isRegularFile(const CountedString& path) {
  return !path.empty() && platformIsRegularFile(path);
}

CountedString fileStart(const CountedString& path, int32_t limit) {
  const intptr_t file = platformOpenInput(path);
  if (file == -1) return CountedString();
  ByteBuffer bytes;
  char block[512];
  int32_t count = 0;
  while (static_cast<int32_t>(bytes.size()) < limit &&
         (count = platformReadInput(
              file, block,
              std::min<int32_t>(sizeof block, limit - static_cast<int32_t>(bytes.size())))) > 0) {
    bytes.appendBytes(block, count);
  }
  platformCloseInput(file);
  return bytes.toCountedString();
}

TokenList matchingNames(const CountedString& pattern) {
  bool matched = false;
  TokenList entries = platformDirectoryEntries(pattern, &matched);
  return matched ? entries : namesMatching(pattern, entries);
}
