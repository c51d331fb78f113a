// What the brand tool asks of the operating system: its arguments, whole files, and replacing an
// output in one step. Text and file names are UTF-8 on both systems.
#pragma once

#include <string>
#include <vector>

#include "brand/bytes.h"

/// The program's arguments without its name. Windows: from the wide command line, so that any
/// character reaches the version record, not only those of the ANSI code page.
std::vector<std::string> programArguments(int argc, char** argv);

/// Throws BrandError(reason) when the file cannot be read.
Bytes readWholeFile(const std::string& path);

/// Writes a temporary file beside `path` and renames it over `path`, so that `path` is either
/// left as it was or holds all of `content`. Throws BrandError(reason) on failure.
void replaceFile(const std::string& path, const Bytes& content);

/// The last component of `path` (the system's separators).
std::string fileNameOf(const std::string& path);
