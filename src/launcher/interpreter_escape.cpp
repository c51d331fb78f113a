#include "launcher/interpreter_escape.h"

#include "util/byte_buffer.h"
#include "util/code_page.h"

// The rules below follow cmd.exe's documented order of reading a line after /c, which Wine's
// cmd.exe does not share (it reads carets and percents in another order), so no Wine run can show
// them: first percent expansion over the whole line, quotes or not (%NAME% is replaced by the
// value, an unset NAME stays as written and the search for the next pair goes on from its
// closing %); then, outside quotes, a caret is dropped and makes the character after it literal,
// a double quote toggles the quoting, and & | < > ( ) are cmd's own.

namespace {

// "%cd:~,%" is the current folder cut to nothing: after a data %, cmd finds no variable name
// that the % could open, whatever the environment holds.
constexpr const char kInertPercent[] = "%%cd:~,%";

bool isOperator(char c) {
  switch (c) {
    case '&': case '|': case '<': case '>': case '(': case ')': case '^': case '"':
      return true;
    default:
      return false;
  }
}

// The characters of the launch file's text whose meaning depends on cmd's quoting.
bool dependsOnQuoting(char c) { return c != '"' && isOperator(c); }

// cmd.exe reads the line in UTF-16, so a lead byte and its second byte are one character to it,
// never a caret or a pipe (0x5E, 0x7C). A byte below 0x40 ends no character in an ANSI code page
// (932, 936, 949, 950): after a lead byte it still stands on its own, and is escaped as such.
int characterLength(const char* p) {
  return mbCharLength(p) == 2 && static_cast<unsigned char>(p[1]) >= 0x40 ? 2 : 1;
}

// Whether text between two % could name a variable, and so be replaced. An environment block
// ends each name at its first = after the first character, so a = there (before any :, after
// which come a substring or a substitution of the name before it) means no variable ever has it.
// No variable has an empty name: %% stays as it is.
bool mayNameVariable(const char* name, int32_t length) {
  for (int32_t i = 0; i < length && name[i] != ':'; ++i) {
    if (name[i] == '=' && i > 0) return false;
  }
  return length > 0;
}

// Percent expansion pairs each % with the next one, whichever came first: a set variable's pair
// is consumed, an unset one leaves its closing % to open the next. So any two % in a row may
// become one reference. Data must never form one with a % of the launch file, in its name or as
// its closing %: its own % is written so that it opens and closes only the inert reference. Returns the first
// data byte of a pair that starts with a launch-file % and may name a variable, or -1. (A pair
// that starts with a data % never opens: it is the inert one, consumed in every reading.)
int32_t dataInLaunchFileVariable(const CountedString& line, const CountedString& marks) {
  // % is below 0x40, so every % byte is a character of its own to cmd, as are : and =.
  const char* text = line.data();
  int32_t open = 0;
  while (open < line.length() && text[open] != '%') ++open;
  for (int32_t close = open + 1; close < line.length(); ++close) {
    if (text[close] != '%') continue;
    if (marks.byteAt(open) == 0) {
      for (int32_t i = open + 1; i <= close; ++i) {
        if (marks.byteAt(i) == 0) continue;
        if (mayNameVariable(text + open + 1, close - open - 1)) return i;
        break;
      }
    }
    open = close;
  }
  return -1;
}

}  // namespace

int32_t escapeForInterpreter(const CountedString& line, const CountedString& marks,
                             CountedString* escaped, EscapeRefusal* why) {
  EscapeRefusal unused;
  if (why == nullptr) why = &unused;
  if (marks.empty()) {
    *escaped = line;
    return -1;
  }
  const int32_t inVariable = dataInLaunchFileVariable(line, marks);
  ByteBuffer out;
  out.reserve(static_cast<size_t>(line.length()) + 16);
  bool inQuotes = false;  // cmd's own view: a quote toggles, backslashes or not
  // A caret of the launch file outside quotes: cmd makes the next character literal, data or not,
  // so data right after it needs no caret of ours (one would be taken literally, and the data
  // character after it would act).
  bool escapesNext = false;
  // A data quote inside quotes ends them (no caret can stop it), so cmd reads the launch file's
  // text after it the other way round: harmless for a blank or a letter, not for ^ or & | < > ( ).
  bool quotingTurned = false;
  int32_t turnedAt = -1;
  bool afterLoneLead = false;  // a lead byte that ended no character: a caret would end it
  for (int32_t i = 0; i < line.length();) {
    const int length = characterLength(line.data() + i);
    const char c = line.data()[i];
    const bool data = marks.byteAt(i) != 0;
    if (inVariable >= i && inVariable < i + length) {
      *why = EscapeRefusal::kVariable;
      return inVariable;
    }
    if (data && length == 2 && marks.byteAt(i + 1) == 0 && (line.data()[i + 1] == '^' ||
                                                            line.data()[i + 1] == '|')) {
      *why = EscapeRefusal::kLaunchFileText;  // half a character of data takes cmd's own byte
      return i;
    }
    if (!data && length == 1 && quotingTurned && dependsOnQuoting(c)) {
      *why = EscapeRefusal::kLaunchFileText;
      return turnedAt;
    }
    if (data && length == 1) {
      if (c == '\r' || c == '\n') {
        *why = EscapeRefusal::kLineBreak;
        return i;
      }
      if (c == '%') {
        out.appendBytes(kInertPercent, sizeof kInertPercent - 1);
        ++i;
        afterLoneLead = false;
        escapesNext = false;
        continue;
      }
      if (!inQuotes && isOperator(c) && !escapesNext) {
        if (afterLoneLead) {
          *why = EscapeRefusal::kBrokenCharacter;
          return i;
        }
        out.appendByte('^');  // an escaped quote toggles nothing
      }
    }
    afterLoneLead = length == 1 && mbIsLeadByte(static_cast<unsigned char>(c));
    if (escapesNext) {
      escapesNext = false;  // this character is the literal one
    } else if (length == 1 && !inQuotes && (data ? isOperator(c) : c == '^')) {
      escapesNext = !data;  // data got its caret; a launch-file caret escapes what follows
    } else if (length == 1 && c == '"') {
      inQuotes = !inQuotes;
      if (data) {
        quotingTurned = !quotingTurned;
        turnedAt = i;
      }
    }
    out.appendBytes(line.data() + i, length);
    i += length;
  }
  *escaped = out.toCountedString();
  return -1;
}
