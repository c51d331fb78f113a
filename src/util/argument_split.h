// How a final command line falls apart into arguments again: the launcher's own rule on POSIX (the
// exact inverse of assembling the line), and the Windows C runtime's rule that a child applies.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// Blanks and tabs separate arguments outside double quotes; a double quote toggles grouping and
/// is dropped; every other byte, backslashes included, is literal. A pair of quotes alone gives
/// an empty argument.
TokenList splitLauncherArguments(const CountedString& commandLine);

/// The arguments after the program name as the Windows C runtime parses a line that has none:
/// blanks and tabs separate outside quotes; 2n backslashes before a quote give n and the quote
/// toggles quoting, 2n+1 give n and a literal quote; other backslashes are literal. Inside quotes
/// "" gives a literal quote and quoting goes on: the rule of the runtimes since 2008 and of Wine's
/// msvcrt (the old msvcrt.dll ended the quoting there). A lead byte takes its second byte along.
TokenList splitWindowsArguments(const CountedString& commandLine);
