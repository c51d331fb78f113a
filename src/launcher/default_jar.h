// The default jar launch: no launch file, so run the jar named after the executable.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// The command line that starts jarPath with java, the options variable and the raw tail.
CountedString defaultJarCommandLine(const CountedString& jarPath, const CountedString& options,
                                    const CountedString& tail);

/// The four candidate jar paths in search order: the executable's directory, then ../lib, the
/// empty entry, lib or .., then a separator and the jar name. jarName receives the bare jar name.
TokenList defaultJarCandidates(const CountedString& executablePath, CountedString* jarName);

/// The environment variable that holds the java options: the upper-cased base name + _VMOPTIONS.
CountedString optionsVariableName(const CountedString& executablePath);
