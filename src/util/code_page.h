// The process-wide ANSI code page and the scanning primitives that step over double-byte
// characters whole, so that no second byte is ever taken for a separator. Pure: the platform
// fills the record at start-up (platform/text_services.h); case rules are in case_rules.h.
#pragma once

#include <cstdint>

enum ByteClass : uint8_t {
  kLeadByte = 1,
  kUpperCase = 2,
  kLowerCase = 4,
};

struct ActiveCodePage {
  uint32_t codePage = 0;  // 0 when the platform knows nothing of it
  bool multibyte = false;
  uint8_t byteClasses[256] = {};
  uint8_t caseMap[256] = {};  // the other case of a letter, else 0
  uint32_t localeId = 0;      // for the platform's case mapping and comparison
  // The platform's own case services for double-byte characters, handed in with the record by
  // the platform layer (platform/text_services.h); null where it has none. upperDoubleByte writes
  // the upper case of the character into out and returns its bytes (1 or 2), or 0 when it cannot
  // map it; compareNoCase returns 1 when the runs are equal without regard to case, else 0.
  int (*upperDoubleByte)(uint32_t localeId, const char* character, char out[2]) = nullptr;
  int (*compareNoCase)(uint32_t localeId, const char* a, int32_t na, const char* b,
                       int32_t nb) = nullptr;
  // File names are UTF-8 (a POSIX locale): wildcard matching steps by UTF-8 sequences. Every
  // other scan stays single-byte, as in any code page without lead bytes.
  bool utf8 = false;
};

/// Read-only after start-up.
const ActiveCodePage& activeCodePage();

/// Replaces the active code page wholesale; start-up and tests only.
void setActiveCodePage(const ActiveCodePage& codePage);

/// A code page with the built-in lead bytes of 932, 936, 949, 950 and 1361 (none for any other
/// number) and ASCII case rules: what a platform without code-page services uses.
ActiveCodePage builtinCodePage(uint32_t codePage);

/// True when codePage has built-in lead-byte ranges; marks them in classes if so.
bool markBuiltinLeadBytes(uint32_t codePage, uint8_t classes[256]);

/// The locale of a built-in double-byte code page, else 0.
uint32_t builtinLocaleId(uint32_t codePage);

inline bool mbIsLeadByte(unsigned char byte) {
  return (activeCodePage().byteClasses[byte] & kLeadByte) != 0;
}

/// 2 at a lead byte with a second byte, else 1. A lead byte just before the terminating zero
/// counts as a character of its own, so no scan steps past the end of its text.
inline int mbCharLength(const char* p) {
  return mbIsLeadByte(static_cast<unsigned char>(*p)) && p[1] != 0 ? 2 : 1;
}

/// Exactly 0x09 to 0x0D and 0x20; never a byte of 0x80 or above.
inline bool mbIsSpace(unsigned char byte) {
  return byte == 0x20 || (byte >= 0x09 && byte <= 0x0D);
}

/// Position of the first character equal to c in the zero-terminated text, or -1. A lead byte
/// directly before the terminating zero ends the search with -1.
int32_t mbFindChar(const char* text, unsigned char c);

/// Position of the last character equal to c in the zero-terminated text, or -1.
int32_t mbFindLastChar(const char* text, unsigned char c);

/// Position of the first character boundary at which pattern's bytes occur, or -1.
int32_t mbFindText(const char* text, const char* pattern);

/// Characters in the text: a double-byte character counts once.
int32_t mbCharacterCount(const char* text, int32_t length);

/// The length of the well-formed UTF-8 sequence at p (zero-terminated), or 1 when none starts
/// there: no overlong forms, no surrogates, nothing past U+10FFFF.
int utf8SequenceLength(const unsigned char* p);

/// What Windows counts in a command line: the UTF-16 code units the text becomes in the active
/// code page. A double-byte character is one; in UTF-8 a four-byte sequence is two, any other
/// sequence one, and so is each byte that starts no sequence (never fewer than Windows counts).
int32_t wideCharacterCount(const char* text, int32_t length);
