// Which launcher a file is: the windowed one or a console one, as its PE header says, or a
// launcher of the other system, which only that system's inspect tool can read.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// True when path is a Windows program built for the GUI subsystem (kestrelunew.exe, renamed or
/// not); false for any other file, a console program or one that cannot be read included.
bool isWindowedLauncher(const CountedString& path);

/// The one error line for a launcher of the other system (a PE image given to the Linux tool, an
/// ELF one to the Windows tool), with the command that inspects it there: the tool at toolPath
/// names its twin in its own folder, where the Linux package keeps both, and the arguments
/// follow, quoted for a Linux shell. Empty for any other file.
CountedString otherSystemLine(const CountedString& path, const CountedString& toolPath,
                              const TokenList& arguments);
