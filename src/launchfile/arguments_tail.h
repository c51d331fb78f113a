// The user's arguments as the launcher received them: the raw tail of its command line, what %*
// and the default jar launch insert.
#pragma once

#include "platform/process_facts.h"
#include "util/counted_string.h"
#include "util/token_list.h"

struct ArgumentsTail {
  CountedString text;      // after the program name and the whitespace that follows it
  CountedString replacedCharacters;  // its marks of replaced characters, byte by byte; empty when none
};

/// The tail of the facts' command line. The program name ends at the first blank outside double
/// quotes, which group anywhere in it.
ArgumentsTail argumentsTail(const ProcessFacts& facts);

/// The tail for %*: each run of characters that the code page could not represent and that
/// stands outside quotes is enclosed in a pair of quotes, so that its default characters are
/// never a wildcard; the program still receives the same bytes. A run of backslashes before an
/// inserted quote is doubled, as the C runtime reads it.
CountedString shieldedText(const ArgumentsTail& tail);

/// The words of the tail (blanks and tabs separate outside quotes) that hold such a character.
TokenList unrepresentedArguments(const ArgumentsTail& tail);
