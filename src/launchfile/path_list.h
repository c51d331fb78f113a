// Path lists and wildcards: a token read as elements separated by the path style's list separator,
// each pattern replaced by the directory entries it matches, written back quoted for the re-split.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// The non-empty stretches between list separators that stand outside double quotes; each keeps
/// its quotes. *hadSeparator tells whether any such separator occurred (never null).
TokenList splitPathList(const CountedString& token, bool* hadSeparator);

/// The piece with every double quote removed. *hasWildcard tells whether a "?" or "*" stood
/// outside double quotes (never null).
CountedString unquotePathElement(const CountedString& piece, bool* hasWildcard);

/// The directory part that every match of pattern is given: directoryOf, extended to a later "/",
/// since the enumeration takes "/" as a directory separator in every style.
CountedString patternDirectory(const CountedString& pattern);

/// The whole stage for one token: patterns expanded (names beginning with "." skipped), then one
/// quoted list joined by the list separator when the token had a separator, otherwise each element
/// quoted on its own and separated by blanks. A list that vanished gives "" or the empty string.
/// Where the style keeps unmatched patterns (POSIX, as a shell does), only a pattern that matched
/// changes, into its matches; a token in which nothing matched is returned as it stands. Each
/// pattern that matched nothing visible is noted in unmatched, when given. resultMarks, when
/// given, receives the marks of the result (marked_text.h) from the token's marks: names from a
/// directory are data.
CountedString expandPathList(const CountedString& token, TokenList* unmatched = nullptr,
                             const CountedString& marks = CountedString(),
                             CountedString* resultMarks = nullptr);
