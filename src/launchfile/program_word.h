// The program a line starts, as cmd.exe reads its command word: one definition for running the
// line, moving its class path and showing it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "launchfile/command_line.h"
#include "util/counted_string.h"

struct ProgramWord {
  size_t piece = 0;         // the piece of the form that holds it; the form's size when none does
  CountedString name;       // without quotes; empty when the line starts no program of its own
  CountedString dataMarks;  // which bytes of name are data; empty when none
  int32_t start = 0;        // where name stands in the piece's text without its quotes...
  int32_t end = 0;          // ...and where it ends
};

/// The program word of the form from piece `from` on: the first token that is not empty without
/// its quotes, after the command delimiters the packager wrote before it (cmd.exe skips them) and
/// up to the next one, or the first word of text written as it stands. Empty when the user's
/// arguments come first.
ProgramWord programWord(const CommandForm& form, size_t from = 0);

/// What ends cmd.exe's command word besides a blank or a tab: , ; = ( ) 0x0B 0x0C 0xFF.
bool isCommandDelimiter(unsigned char byte);

/// Where the command word of a token without its quotes, starting at start, ends: the whole token
/// where a blank or tab has it enclosed in quotes on the line, else the first delimiter the
/// packager wrote (one from data is part of the word).
int32_t commandWordEnd(const CountedString& bare, const CountedString& marks, int32_t start = 0);
