// Windows implementation of the code-page seam (text_services.h). Only code for Windows lives
// here.
#include "platform/text_services.h"

#include <windows.h>

namespace {

// The lead-byte list of CPINFO: pairs of first and last byte, up to a pair holding a zero.
bool isPlatformLeadByte(const CPINFO& info, int byte) {
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0 && info.LeadByte[i + 1] != 0; i += 2) {
    if (byte >= info.LeadByte[i] && byte <= info.LeadByte[i + 1]) return true;
  }
  return false;
}

// Bytes 0 and every lead byte the platform reports become blanks, so that the whole vector is
// mapped as 256 single-byte characters.
void fillCaseTables(const CPINFO& info, ActiveCodePage* cp) {
  char vector[256];
  for (int i = 0; i < 256; ++i) {
    vector[i] = i == 0 || isPlatformLeadByte(info, i) ? ' ' : static_cast<char>(i);
  }
  WORD types[256] = {};
  char lower[256];
  char upper[256];
  LCID locale = cp->localeId;
  if (!GetStringTypeA(locale, CT_CTYPE1, vector, 256, types) ||
      LCMapStringA(locale, LCMAP_LOWERCASE, vector, 256, lower, 256) != 256 ||
      LCMapStringA(locale, LCMAP_UPPERCASE, vector, 256, upper, 256) != 256) {
    return;  // no case rules beyond none at all; cannot happen for an installed code page
  }
  for (int i = 0; i < 256; ++i) {
    if (types[i] & C1_UPPER) {
      cp->byteClasses[i] |= kUpperCase;
      cp->caseMap[i] = static_cast<uint8_t>(lower[i]);
    } else if (types[i] & C1_LOWER) {
      cp->byteClasses[i] |= kLowerCase;
      cp->caseMap[i] = static_cast<uint8_t>(upper[i]);
    }
  }
}

int upperDoubleByte(uint32_t localeId, const char* character, char out[2]) {
  return LCMapStringA(localeId, LCMAP_UPPERCASE, character, 2, out, 2);
}

int compareNoCase(uint32_t localeId, const char* a, int32_t na, const char* b, int32_t nb) {
  // A run that is not valid text, or a failed comparison, counts as not equal.
  return CompareStringA(localeId, NORM_IGNORECASE, a, na, b, nb) == CSTR_EQUAL ? 1 : 0;
}

// The ANSI code page's lead bytes and case tables.
ActiveCodePage systemCodePage() {
  UINT number = GetACP();
  CPINFO info;
  bool haveInfo = GetCPInfo(number, &info) != 0;
  if (!haveInfo) {  // built-in lead bytes if known, ASCII case rules
    ActiveCodePage probe;
    return builtinCodePage(markBuiltinLeadBytes(number, probe.byteClasses) ? number : 0);
  }

  ActiveCodePage cp;
  cp.codePage = number;
  if (markBuiltinLeadBytes(number, cp.byteClasses)) {
    cp.multibyte = true;
    cp.localeId = builtinLocaleId(number);
  } else if (info.MaxCharSize >= 2) {
    for (int b = 0; b < 256; ++b) {
      if (isPlatformLeadByte(info, b)) cp.byteClasses[b] |= kLeadByte;
    }
    cp.multibyte = true;
  }
  fillCaseTables(info, &cp);
  return cp;
}

}  // namespace

ActiveCodePage platformActiveCodePage() {
  ActiveCodePage cp = systemCodePage();
  cp.upperDoubleByte = upperDoubleByte;
  cp.compareNoCase = compareNoCase;
  return cp;
}
