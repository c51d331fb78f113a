// Command-line assembly: what runs, in the one form from which both platforms take their
// command: the Windows line for the interpreter, and on POSIX the program's argument vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "platform/platform.h"
#include "platform/process_facts.h"
#include "util/byte_buffer.h"
#include "util/counted_string.h"
#include "util/token_list.h"

/// Every double quote removed; a token holding a blank or a tab enclosed in double quotes (with
/// the backslashes that end it doubled where the C runtime reads them as escapes); tokens joined
/// by single blanks, empty ones included. Empty for an empty list.
CountedString assembleCommandLine(const TokenList& tokens);

enum class PieceKind : uint8_t {
  kToken,      // a final token, assembled as above
  kGlued,      // written as it stands, and the next piece follows it directly
  kArguments,  // the user's arguments: each exactly in the vector; text is how the line shows them
};

struct CommandPiece {
  PieceKind kind;
  CountedString text;
  CountedString dataMarks;  // marked_text.h: which bytes are data; empty when none
};

/// The pieces of what runs, in order. Its own arrays, like TokenList: the launcher links none of
/// the library's throwing code.
class CommandForm {
 public:
  CommandForm() = default;
  CommandForm(std::initializer_list<CommandPiece> pieces);

  void add(PieceKind kind, CountedString text, CountedString dataMarks = CountedString());
  /// Puts another piece in the place of piece i.
  void replace(size_t i, PieceKind kind, CountedString text, CountedString dataMarks);
  size_t size() const { return texts_.size(); }
  PieceKind kind(size_t i) const { return static_cast<PieceKind>(kinds_.data()[i]); }
  const CountedString& text(size_t i) const { return texts_[i]; }
  const CountedString& dataMarks(size_t i) const { return dataMarks_[i]; }

 private:
  TokenList texts_;
  TokenList dataMarks_;
  ByteBuffer kinds_;  // one byte per piece
};

/// The program a line starts, as cmd.exe reads its command word: one definition for running the
/// line, moving its class path and showing it.
struct ProgramWord {
  size_t piece = 0;         // the piece of the form that holds it; the form's size when none does
  CountedString name;       // without quotes; empty when the line starts no program of its own
  CountedString dataMarks;  // which bytes of name are data; empty when none
  int32_t start = 0;        // where name stands in the piece's text without its quotes...
  int32_t end = 0;          // ...and where it ends
};

/// The program word of the form from piece `from` on: the first token that is not empty without
/// its quotes, after the command delimiters and the @ the packager wrote before it (cmd.exe skips
/// them) and
/// up to the next one, or the first word of text written as it stands. Empty when the user's
/// arguments come first.
ProgramWord programWord(const CommandForm& form, size_t from = 0);

/// What ends cmd.exe's command word besides a blank or a tab: , ; = ( ) 0x0B 0x0C 0xFF.
bool isCommandDelimiter(unsigned char byte);

/// Where the command word of a token without its quotes, starting at start, ends: the whole token
/// where a blank or tab has it enclosed in quotes on the line, else the first delimiter the
/// packager wrote (one from data is part of the word).
int32_t commandWordEnd(const CountedString& bare, const CountedString& marks, int32_t start = 0);

/// Marks for text that is data throughout.
CountedString allData(const CountedString& text);

/// The form of a launch file's final tokens (with their marks, when given): the arguments slot
/// becomes the user's arguments, shown as tokens of their own where they pass exactly, else as
/// the shielded tail, which is data.
CommandForm launchFileForm(const TokenList& finalTokens, const TokenList* finalMarks,
                           const ProcessFacts& facts);

/// What runs, from the form: the line with its marks and, where arguments pass exactly, the
/// program and its arguments (the pieces between the user's arguments split by the launcher's
/// own rule, the arguments spliced in each exactly). The interpreters are left to the launcher.
CommandRequest commandOf(const CommandForm& form, const ProcessFacts& facts);
