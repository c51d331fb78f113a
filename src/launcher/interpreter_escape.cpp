#include "launcher/interpreter_escape.h"

#include "util/byte_buffer.h"
#include "util/code_page.h"

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

// cmd.exe reads the line in UTF-16, so a lead byte and its second byte are one character to it,
// never a caret or a pipe (0x5E, 0x7C). A byte below 0x40 ends no character in an ANSI code page
// (932, 936, 949, 950): after a lead byte it still stands on its own, and is escaped as such.
int characterLength(const char* p) {
  return mbCharLength(p) == 2 && static_cast<unsigned char>(p[1]) >= 0x40 ? 2 : 1;
}

}  // namespace

int32_t escapeForInterpreter(const CountedString& line, const CountedString& marks,
                             CountedString* escaped) {
  if (marks.empty()) {
    *escaped = line;
    return -1;
  }
  ByteBuffer out;
  out.reserve(static_cast<size_t>(line.length()) + 16);
  bool inQuotes = false;  // cmd's own view: a quote toggles, backslashes or not
  bool afterLoneLead = false;  // a lead byte that ended no character: a caret would end it
  for (int32_t i = 0; i < line.length();) {
    const int length = characterLength(line.data() + i);
    const char c = line.data()[i];
    const bool data = marks.byteAt(i) != 0;
    if (data && length == 1) {
      if (c == '\r' || c == '\n') return i;
      if (c == '%') {
        out.appendBytes(kInertPercent, sizeof kInertPercent - 1);
        ++i;
        afterLoneLead = false;
        continue;
      }
      if (!inQuotes && isOperator(c)) {
        if (afterLoneLead) return i;
        out.appendByte('^');  // an escaped quote toggles nothing
      }
    }
    afterLoneLead = length == 1 && mbIsLeadByte(static_cast<unsigned char>(c));
    if (c == '"' && length == 1 && (inQuotes || !data)) inQuotes = !inQuotes;
    out.appendBytes(line.data() + i, length);
    i += length;
  }
  *escaped = out.toCountedString();
  return -1;
}
