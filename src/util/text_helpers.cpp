#include "util/text_helpers.h"

#include <cstring>

#include "util/case_rules.h"

bool startsWith(const CountedString& text, const char* prefix) {
  const size_t length = std::strlen(prefix);
  return static_cast<size_t>(text.length()) >= length &&
         std::memcmp(text.data(), prefix, length) == 0;
}

bool endsWithNoCase(const CountedString& text, const char* ending) {
  const CountedString tail(ending);
  return text.length() >= tail.length() &&
         mbCompareNoCase(text.data() + text.length() - tail.length(), tail.data(), tail.length());
}

bool sameNoCase(const CountedString& text, const char* other) {
  const CountedString wanted(other);
  return text.length() == wanted.length() &&
         mbCompareNoCase(text.data(), wanted.data(), text.length());
}

bool holdsBlank(const CountedString& text) {
  return text.findChar(' ') >= 0 || text.findChar('\t') >= 0;
}

bool isOneOf(const CountedString& text, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (text == name) return true;
  }
  return false;
}

CountedString withoutQuotes(const CountedString& text) {
  return text.replaceAll("\"", CountedString());
}

CountedString decimalText(int32_t value) {
  char digits[12];
  char* start = digits + sizeof digits;
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    *--start = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--start = '-';
  return CountedString(start, static_cast<int32_t>(digits + sizeof digits - start));
}
