// Wildcard matching of directory entries where the system does not match them itself (POSIX):
// "*" and "?" only, the same language as on Windows, stepping by characters of the locale.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// Bytes in the character at p (not at the terminating zero): a whole UTF-8 sequence in a UTF-8
/// locale, a lead byte with its second byte in a double-byte code page, else one byte. A byte
/// that starts no valid UTF-8 sequence is a character of its own.
int wildcardCharLength(const char* p);

/// True when name matches pattern: "?" is any one character, "*" any run of them, every other
/// character itself, case-sensitive ("[" and "\" are literal).
bool matchesWildcard(const char* pattern, const char* name);

/// The entries that match pattern's last component (after its last "/"), sorted by byte value so
/// that class paths are reproducible.
TokenList namesMatching(const CountedString& pattern, const TokenList& entries);
