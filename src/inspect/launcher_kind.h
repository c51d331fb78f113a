// Which launcher a file is: the windowed one or a console one, as its PE header says.
#pragma once

#include "util/counted_string.h"

/// True when path is a Windows program built for the GUI subsystem (kestrelunew.exe, renamed or
/// not); false for any other file, a console program or one that cannot be read included.
bool isWindowedLauncher(const CountedString& path);
