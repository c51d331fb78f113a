// The default jar launch: no launch file, so run the jar named after the executable.
#pragma once

#include "launchfile/command_line.h"
#include "util/counted_string.h"
#include "util/environment.h"
#include "util/token_list.h"

/// What starts jarPath: java, the options variable's value and -jar with the jar as text, then
/// the user's arguments (tail: how the line shows them).
CommandForm defaultJarForm(const CountedString& jarPath, const CountedString& options,
                           const CountedString& tail);

/// The candidate jar paths in search order: the executable's directory followed by ../lib, by
/// nothing, by lib and by .., each with a separator and the jar name. jarName receives the bare
/// jar name: the base name + ".jar" (the whole file name where names are used whole).
TokenList defaultJarCandidates(const CountedString& executablePath, CountedString* jarName);

/// The environment variable that holds the java options: the upper-cased base name (the whole
/// file name where names are used whole) + _VMOPTIONS.
CountedString optionsVariableName(const CountedString& executablePath);

/// name with every byte other than an ASCII letter, digit or underscore turned into "_".
CountedString shellVariableName(const CountedString& name);

/// The java options and, in *variableName, the variable they come from: the options variable,
/// or where names are used whole and that is unset or empty, its shell spelling.
CountedString defaultJarOptions(const CountedString& executablePath,
                                const Environment& environment, CountedString* variableName);
