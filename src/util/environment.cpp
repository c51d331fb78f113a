#include "util/environment.h"

#include "util/case_rules.h"

Environment::Environment(const TokenList& entries) {
  for (const CountedString& entry : entries) {
    if (!entry.empty() && entry.byteAt(0) != '=') entries_.append(entry);
  }
}

CountedString Environment::value(const CountedString& name) const {
  int32_t n = 0;
  while (n < name.length() && name.byteAt(n) != 0) ++n;
  for (const CountedString& entry : entries_) {
    if (entry.length() > n && entry.byteAt(n) == '=' &&
        mbCompareNoCase(entry.data(), name.data(), n)) {
      return entry.substring(n + 1, entry.length());
    }
  }
  return CountedString();
}
