// The seam to the operating system: plain functions over portable types, implemented once in
// platform_win32.cpp and once in platform_posix.cpp. Nothing else includes a system header.
#pragma once

#include <cstdint>

#include "util/code_page.h"
#include "util/counted_string.h"
#include "util/path_style.h"
#include "util/token_list.h"

// Start-up facts.
PathStyle platformPathStyle();
/// The ANSI code page with its lead bytes and case map, as the platform describes it.
ActiveCodePage platformActiveCodePage();
/// Full path of the running executable, never cut; empty if the platform cannot tell.
CountedString platformModulePath();
/// The raw command line. POSIX has none, so it is rebuilt from argv (each argument without its
/// double quotes, enclosed in double quotes, joined by blanks).
CountedString platformCommandLine(int argc, char** argv);
/// The environment as "NAME=value" texts, in the system's order.
TokenList platformEnvironment();
/// The full path of an executable as the system would give it to that program itself. Windows:
/// absolute and normalised like a module path. POSIX: symbolic links resolved like
/// /proc/self/exe (when the file is missing, only its directory). Unchanged when it cannot be
/// resolved.
CountedString platformFullPath(const CountedString& path);

// Text services of the code page.
/// Upper-cases one double-byte character (count bytes) into out; returns the bytes written (1 or
/// 2), or 0 when the platform cannot map it.
int platformUpperDoubleByte(const char* character, int count, char out[2]);
/// The platform's case-insensitive comparison of two byte runs in the active code page.
bool platformEqualNoCase(const char* a, int32_t na, const char* b, int32_t nb);

// Files.
/// True when path names an existing file, directory or other object.
bool platformPathExists(const CountedString& path);
/// An open file for reading, or -1. A directory cannot be opened. Others may read and write the
/// file meanwhile.
intptr_t platformOpenInput(const CountedString& path);
/// Reads up to size bytes; returns the count, 0 at the end of the file or on an error.
int32_t platformReadInput(intptr_t file, char* buffer, int32_t size);
void platformCloseInput(intptr_t file);
/// Names of the directory entries matching pattern's last component, in the platform's order.
TokenList platformMatchingNames(const CountedString& pattern);

// Running.
/// Runs the command line through the command interpreter (Windows) or directly (POSIX, where
/// success does not return); the interpreter's exit code, or -1 when none can start.
int platformRunCommand(const CountedString& commandLine);
