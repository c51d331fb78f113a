// What the brand tool asks of the operating system: its arguments, whole files, and replacing an
// output in one step. Text and file names are UTF-8 on both systems.
#pragma once

#include <string>
#include <vector>

#include "brand/bytes.h"

/// The program's arguments without its name. Windows: from the wide command line, so that any
/// character reaches the version record, not only those of the ANSI code page.
std::vector<std::string> commandLineWords(int argc, char** argv);

/// Throws BrandError(reason) when the file cannot be read.
Bytes readWholeFile(const std::string& path);

/// The file that branding into `path` replaces: `path` itself, or the file that a symbolic link
/// there names (followed to the end), so that the link stays and its file is branded. Returns
/// `path` when nothing is there yet. Throws BrandError("is a ..., not a regular file") for
/// anything else (a directory, a device, a pipe, a socket, a link to one of them or to nothing),
/// having read and written nothing.
std::string outputFile(const std::string& path);

/// Writes a temporary file beside `path` and renames it over `path`, so that `path` is either
/// left as it was or holds all of `content`. Throws BrandError(reason) on failure, and when
/// `path` is no longer a regular file when the rename comes.
void replaceFile(const std::string& path, const Bytes& content);

/// The last component of `path` (the system's separators).
std::string fileNameOf(const std::string& path);
