// The full path of a launcher as the system would give it to the running launcher itself.
#pragma once

#include "util/counted_string.h"

/// Windows: the path made absolute and normalised like a module path. POSIX: symbolic links
/// resolved like /proc/self/exe (when the file is missing, only its directory is resolved).
/// The path unchanged when it cannot be resolved.
CountedString launcherFullPath(const CountedString& path);
