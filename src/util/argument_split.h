// How a final command line falls apart into arguments again: the launcher's own rule on POSIX,
// the exact inverse of assembling the line.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// Blanks and tabs separate arguments outside double quotes; a double quote toggles grouping and
/// is dropped; every other byte, backslashes included, is literal. A pair of quotes alone gives
/// an empty argument.
TokenList splitLauncherArguments(const CountedString& commandLine);
