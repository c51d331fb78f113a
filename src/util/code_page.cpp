#include "util/code_page.h"

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

ActiveCodePage current = builtinCodePage(0);

struct LeadRange {
  uint32_t codePage;
  unsigned char first;
  unsigned char last;
};

// Code pages whose lead bytes are known here, whatever the platform reports.
constexpr LeadRange builtinLeadRanges[] = {
    {932, 0x81, 0x9F},  {932, 0xE0, 0xFC},  {936, 0x81, 0xFE},  {949, 0x81, 0xFE},
    {950, 0x81, 0xFE},  {1361, 0x81, 0xD3}, {1361, 0xD8, 0xDE}, {1361, 0xE0, 0xF9},
};

}  // namespace

const ActiveCodePage& activeCodePage() { return current; }

void setActiveCodePage(const ActiveCodePage& codePage) { current = codePage; }

bool markBuiltinLeadBytes(uint32_t codePage, uint8_t classes[256]) {
  bool known = false;
  for (const LeadRange& range : builtinLeadRanges) {
    if (range.codePage != codePage) continue;
    known = true;
    for (int b = range.first; b <= range.last; ++b) classes[b] |= kLeadByte;
  }
  return known;
}

uint32_t builtinLocaleId(uint32_t codePage) {
  switch (codePage) {
    case 932: return 0x0411;
    case 936: return 0x0804;
    case 949: return 0x0412;
    case 950: return 0x0404;
    default: return 0;
  }
}

ActiveCodePage builtinCodePage(uint32_t codePage) {
  ActiveCodePage result;
  result.codePage = codePage;
  result.multibyte = markBuiltinLeadBytes(codePage, result.byteClasses);
  result.localeId = builtinLocaleId(codePage);
  for (int b = 'A'; b <= 'Z'; ++b) {
    result.byteClasses[b] |= kUpperCase;
    result.caseMap[b] = static_cast<uint8_t>(b + 0x20);
    result.byteClasses[b + 0x20] |= kLowerCase;
    result.caseMap[b + 0x20] = static_cast<uint8_t>(b);
  }
  return result;
}

int32_t mbFindChar(const char* text, unsigned char c) {
  for (const char* p = text;;) {
    unsigned char byte = static_cast<unsigned char>(*p);
    if (mbIsLeadByte(byte)) {
      if (p[1] == 0) return -1;  // malformed: a lead byte without its second byte
      p += 2;                    // a 16-bit value never equals a single-byte c
      continue;
    }
    if (byte == c) return static_cast<int32_t>(p - text);
    if (byte == 0) return -1;
    ++p;
  }
}

int32_t mbFindLastChar(const char* text, unsigned char c) {
  int32_t last = -1;
  for (const char* p = text; *p != 0;) {
    int length = mbCharLength(p);
    if (length == 1 && static_cast<unsigned char>(*p) == c) last = static_cast<int32_t>(p - text);
    p += length;
  }
  return last;
}

int32_t mbFindText(const char* text, const char* pattern) {
  for (const char* p = text; *p != 0; p += mbCharLength(p)) {
    const char* t = p;
    const char* q = pattern;
    while (*q != 0 && *t == *q) ++t, ++q;
    if (*q == 0) return static_cast<int32_t>(p - text);
    if (*t == 0) return -1;  // the text ended first: no later start can match either
  }
  return -1;
}

int32_t mbCharacterCount(const char* text, int32_t length) {
  int32_t count = 0;
  for (int32_t i = 0; i < length; i += mbCharLength(text + i)) ++count;
  return count;
}

int utf8SequenceLength(const unsigned char* p) {
  unsigned char lead = p[0];
  int length;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 1;
  }
  if (p[1] < low || p[1] > high) return 1;  // also stops at the terminating zero
  for (int i = 2; i < length; ++i) {
    if (!isContinuation(p[i])) return 1;
  }
  return length;
}

int32_t wideCharacterCount(const char* text, int32_t length) {
  // Windows reports UTF-8 as code page 65001 without lead bytes; utf8 is a POSIX locale's mark.
  const ActiveCodePage& cp = activeCodePage();
  if (cp.codePage != 65001 && !cp.utf8) return mbCharacterCount(text, length);
  int32_t count = 0;
  for (int32_t i = 0; i < length;) {
    const int sequence = utf8SequenceLength(reinterpret_cast<const unsigned char*>(text + i));
    count += sequence == 4 ? 2 : 1;  // beyond U+FFFF, UTF-16 takes a surrogate pair
    i += sequence;
  }
  return count;
}
