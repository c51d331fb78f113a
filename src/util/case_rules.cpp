#include "util/case_rules.h"

#include "util/code_page.h"

namespace {

// Single-byte letters fold through the case map; a double-byte character must match exactly, so
// a second byte is never folded as if it were a letter.
bool equalByCaseMap(const char* a, int32_t na, const char* b, int32_t nb) {
  if (na != nb) return false;
  const ActiveCodePage& cp = activeCodePage();
  for (int32_t i = 0; i < na;) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (mbIsLeadByte(x) && i + 1 < na) {
      if (x != y || a[i + 1] != b[i + 1]) return false;
      i += 2;
      continue;
    }
    if (cp.byteClasses[x] & kLowerCase) x = cp.caseMap[x];
    if (cp.byteClasses[y] & kLowerCase) y = cp.caseMap[y];
    if (x != y) return false;
    ++i;
  }
  return true;
}

}  // namespace

bool mbToUpper(char* text) {
  const ActiveCodePage& cp = activeCodePage();
  for (char* p = text; *p != 0;) {
    unsigned char byte = static_cast<unsigned char>(*p);
    if (mbIsLeadByte(byte)) {
      if (p[1] == 0) return false;  // malformed: a lead byte without its second byte
      if (cp.upperDoubleByte == nullptr) {  // no mapping of double-byte characters: unchanged
        p += 2;
        continue;
      }
      char upper[2];
      int written = cp.upperDoubleByte(cp.localeId, p, upper);
      if (written == 0) return false;
      p[0] = upper[0];
      if (written == 2) p[1] = upper[1];
      p += written;
      continue;
    }
    if (cp.byteClasses[byte] & kLowerCase) *p = static_cast<char>(cp.caseMap[byte]);
    ++p;
  }
  return true;
}

bool mbCompareNoCase(const char* a, const char* b, int32_t n) {
  if (n == 0) return true;
  int32_t na = 0;
  while (na < n && a[na] != 0) ++na;
  int32_t nb = 0;
  while (nb < n && b[nb] != 0) ++nb;
  const ActiveCodePage& cp = activeCodePage();
  if (cp.compareNoCase == nullptr) return equalByCaseMap(a, na, b, nb);
  return cp.compareNoCase(cp.localeId, a, na, b, nb) == 1;
}

CountedString toUpper(const CountedString& text) {
  CountedString result(text);
  if (!result.empty()) mbToUpper(result.mutableData());
  return result;
}
