// What the file system holds, asked through the platform seam: whether a path exists, and which
// directory entries a wildcard pattern matches.
#pragma once

#include <cstdint>

#include "util/counted_string.h"
#include "util/token_list.h"

/// True for an existing file, directory or other object; false for the empty path.
bool pathExists(const CountedString& path);

/// True for an existing file that is not a directory, a device or another kind of object.
bool isRegularFile(const CountedString& path);

/// Up to limit bytes from the start of a file; empty when it cannot be read.
CountedString fileStart(const CountedString& path, int32_t limit);

/// The entries of pattern's directory that match its last component, in the platform's order
/// where it matched them itself, else sorted by byte value so that class paths are reproducible.
TokenList matchingNames(const CountedString& pattern);
