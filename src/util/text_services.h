// The seam to the platform's code-page services: what the ANSI code page is, and its case
// mapping and comparison. Implemented in text_services_win32.cpp and text_services_posix.cpp;
// takes and returns values only.
#pragma once

#include <cstdint>

#include "util/code_page.h"

/// The ANSI code page with its lead bytes and case map, as the platform describes it.
ActiveCodePage platformActiveCodePage();

/// Upper-cases the double-byte character at character into out in the locale localeId; returns
/// the bytes written (1 or 2), or 0 when the platform cannot map it. POSIX copies it unchanged.
int platformUpperDoubleByte(uint32_t localeId, const char* character, char out[2]);

/// The platform's comparison without regard to case of two byte runs in the locale localeId: 1
/// when equal, 0 when not, -1 when the platform has no comparison of its own (POSIX).
int platformCompareNoCase(uint32_t localeId, const char* a, int32_t na, const char* b, int32_t nb);
