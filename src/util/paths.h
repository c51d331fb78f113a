// Paths as the launcher reads them: the launch file named after the executable, the directory
// and base name of a path, the elements of a search path. Text only: platform/file_queries.h
// asks the system.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// The extension that names the launch file beside the executable.
constexpr const char kLaunchFileExtension[] = ".kestrelune";

/// The executable path with the extension of its last component replaced by the launch-file
/// extension (appended when it has none, and always where names are used whole).
CountedString launchFilePath(const CountedString& executablePath);
/// Up to and including the last directory separator, failing that the last drive separator;
/// empty when there is neither.
CountedString directoryOf(const CountedString& path);
/// The last component without its last extension.
CountedString baseNameOf(const CountedString& path);
/// True when the last component of path (after its last "\" or "/", in every style) is name,
/// without regard to case.
bool hasFileName(const CountedString& path, const char* name);
/// The stretches of value between separators (empty ones only when keepEmpty), in order: the
/// elements of PATH, PATHEXT and the like, where quotes mean nothing.
TokenList listElements(const CountedString& value, char separator, bool keepEmpty);
/// The directories of a search-path value such as PATH: the non-empty stretches between the
/// style's list separators.
TokenList searchPathDirectories(const CountedString& value);
/// True for the style's directory separator, and "/" in every style.
bool isDirectorySeparator(unsigned char byte);
/// True when path's last character, a whole one, is a directory separator.
bool endsWithSeparator(const CountedString& path);
/// True for a name with no folder in it: no "\", "/" or ":".
bool isBareName(const CountedString& name);
/// True for a path that names the same file wherever the user is: in the Windows style "X:\..."
/// or "\\..." ("/" counts as "\"), never "\..." (the current drive) or "X:..." (that drive's
/// current folder); in the POSIX style "/...".
bool isAbsolute(const CountedString& path);
/// directory and name joined by a directory separator, unless directory ends with one ("/"
/// counts in every style).
CountedString joinPath(const CountedString& directory, const CountedString& name);
