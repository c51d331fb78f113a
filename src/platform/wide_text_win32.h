// Text in a code page made UTF-16, for the wide Windows functions. Only code for Windows lives
// here.
#pragma once

#include <windows.h>

/// The bytes in codePage as UTF-16 in a new zero-ended array (delete[]); count -1 for a
/// zero-ended text.
wchar_t* widen(const char* bytes, int count, UINT codePage);
