// Case rules of the active code page: upper-casing and comparison without regard to case, with
// the platform's own services where the code page record carries them.
#pragma once

#include <cstdint>

#include "util/counted_string.h"

/// Upper-cases the zero-terminated text in place. Returns false, leaving the rest unchanged, at a
/// double-byte character the platform cannot map.
bool mbToUpper(char* text);

/// Equal without regard to case over the first n bytes of each (fewer where a zero comes first).
bool mbCompareNoCase(const char* a, const char* b, int32_t n);

/// Upper-cased as the active code page defines it; same length.
CountedString toUpper(const CountedString& text);
