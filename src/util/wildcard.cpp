#include "util/wildcard.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "util/code_page.h"

int wildcardCharLength(const char* p) {
  if (static_cast<unsigned char>(*p) < 0x80) return 1;  // ASCII, in every encoding we know
  if (activeCodePage().utf8) return utf8SequenceLength(reinterpret_cast<const unsigned char*>(p));
  return mbCharLength(p);
}

bool matchesWildcard(const char* pattern, const char* name) {
  const char* starPattern = nullptr;  // just after the last "*" seen
  const char* starName = nullptr;     // where that "*" began to match
  while (*name != 0) {
    int nameLength = wildcardCharLength(name);
    if (*pattern == '*') {
      starPattern = ++pattern;
      starName = name;
      continue;
    }
    if (*pattern != 0) {
      int patternLength = wildcardCharLength(pattern);
      if ((*pattern == '?' && patternLength == 1) ||
          (patternLength == nameLength && std::memcmp(pattern, name, nameLength) == 0)) {
        pattern += patternLength;
        name += nameLength;
        continue;
      }
    }
    if (starPattern == nullptr) return false;
    // The last "*" takes one more character, and the rest of the pattern tries again after it.
    starName += wildcardCharLength(starName);
    pattern = starPattern;
    name = starName;
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

TokenList namesMatching(const CountedString& pattern, const TokenList& entries) {
  const char* namePattern = pattern.data() + mbFindLastChar(pattern.data(), '/') + 1;
  // A plain array, not std::vector: the launcher links none of the library's throwing code.
  std::unique_ptr<const CountedString*[]> names(new const CountedString*[entries.size() + 1]);
  size_t count = 0;
  for (const CountedString& entry : entries) {
    if (matchesWildcard(namePattern, entry.data())) names[count++] = &entry;
  }
  std::sort(names.get(), names.get() + count, [](const CountedString* a, const CountedString* b) {
    return std::strcmp(a->data(), b->data()) < 0;
  });
  TokenList result;
  for (size_t i = 0; i < count; ++i) result.append(*names[i]);
  return result;
}
