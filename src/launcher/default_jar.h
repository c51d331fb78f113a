// The default jar launch: no launch file, so run the jar named after the executable.
#pragma once

#include "util/counted_string.h"

/// The command line that starts jarPath with java, the options variable and the raw tail.
CountedString defaultJarCommandLine(const CountedString& jarPath, const CountedString& options,
                                    const CountedString& tail);

/// The first of the four candidate jar paths that exists, or empty when none does. jarName
/// receives the bare jar name.
CountedString findDefaultJar(const CountedString& executablePath, CountedString* jarName);

/// The environment variable that holds the java options: the upper-cased base name + _VMOPTIONS.
CountedString optionsVariableName(const CountedString& executablePath);

/// Runs the jar found beside the executable; -1 with one line on standard error when none is.
int launchDefaultJar(const CountedString& executablePath);
