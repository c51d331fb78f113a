// The default jar launch: no launch file, so run the jar named after the executable.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// The command line that starts jarPath with java, the options variable and the raw tail.
CountedString defaultJarCommandLine(const CountedString& jarPath, const CountedString& options,
                                    const CountedString& tail);

/// The four candidate jar paths in search order: the executable's directory, then ../lib, the
/// empty entry, lib or .., then a separator and the jar name. jarName receives the bare jar name:
/// the base name + ".jar" (the whole file name where names are used whole).
TokenList defaultJarCandidates(const CountedString& executablePath, CountedString* jarName);

/// The environment variable that holds the java options: the upper-cased base name (the whole
/// file name where names are used whole) + _VMOPTIONS.
CountedString optionsVariableName(const CountedString& executablePath);

/// name with every byte other than an ASCII letter, digit or underscore turned into "_".
CountedString shellVariableName(const CountedString& name);

/// The java options and, in *variableName, the variable they come from: the options variable,
/// or where names are used whole and that is unset or empty, its shell spelling.
CountedString defaultJarOptions(const CountedString& executablePath, CountedString* variableName);
