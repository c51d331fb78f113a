// Command-line assembly: the final tokens, stripped of their double quotes, re-quoted where a blank
// or tab would split them, and joined by single blanks into the one line that is run.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// Every double quote removed; a token holding a blank or a tab enclosed in double quotes (in the
/// Windows style with the backslashes that end it doubled); tokens joined by single blanks, empty
/// ones included. Empty for an empty list. An arguments slot shows the launcher's arguments as
/// tokens of their own.
CountedString assembleCommandLine(const TokenList& tokens);
