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
  for (int32_t i = 0; i < line.length();) {
    // A lead byte and its second byte are one character to cmd, which reads the line in UTF-16:
    // a second byte 0x5E or 0x7C is never a caret or a pipe.
    const int length = mbCharLength(line.data() + i);
    const char c = line.data()[i];
    const bool data = marks.byteAt(i) != 0;
    if (data && length == 1) {
      if (c == '\r' || c == '\n') return i;
      if (c == '%') {
        out.appendBytes(kInertPercent, sizeof kInertPercent - 1);
        ++i;
        continue;
      }
      if (!inQuotes && isOperator(c)) out.appendByte('^');  // an escaped quote toggles nothing
    }
    if (c == '"' && length == 1 && (inQuotes || !data)) inQuotes = !inQuotes;
    out.appendBytes(line.data() + i, length);
    i += length;
  }
  *escaped = out.toCountedString();
  return -1;
}
