#include "util/argument_split.h"

#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/quote_scan.h"

TokenList splitLauncherArguments(const CountedString& commandLine) {
  TokenList arguments;
  ByteBuffer current;
  bool inArgument = false;
  // A second byte that looks like a quote or a blank stays with its lead byte.
  for (QuoteScan scan(commandLine); !scan.atEnd(); scan.next()) {
    char c = scan.byte();
    if (!scan.inQuotes() && (c == ' ' || c == '\t')) {
      if (inArgument) arguments.append(current.toCountedString());
      current = ByteBuffer();
      inArgument = false;
      continue;
    }
    if (c != '"') current.appendBytes(scan.character(), scan.length());
    inArgument = true;
  }
  if (inArgument) arguments.append(current.toCountedString());
  return arguments;
}

namespace {

bool isBlankOrTab(char c) { return c == ' ' || c == '\t'; }

void appendBackslashes(ByteBuffer& argument, int32_t count) {
  for (int32_t i = 0; i < count; ++i) argument.appendByte('\\');
}

/// One argument from p on; leaves p at the blank or tab that ends it, or at end.
CountedString scanWindowsArgument(const char*& p, const char* end) {
  ByteBuffer argument;
  bool inQuotes = false;
  while (p < end) {
    int32_t backslashes = 0;
    for (; p < end && *p == '\\'; ++p) ++backslashes;
    if (p < end && *p == '"') {
      appendBackslashes(argument, backslashes / 2);
      if (backslashes % 2 == 1) {
        argument.appendByte('"');  // escaped
      } else if (inQuotes && p + 1 < end && p[1] == '"') {
        argument.appendByte(*++p);  // "" inside quotes: a literal quote, still inside
      } else {
        inQuotes = !inQuotes;
      }
      ++p;
      continue;
    }
    appendBackslashes(argument, backslashes);
    if (p == end || (!inQuotes && isBlankOrTab(*p))) break;
    int length = mbCharLength(p);
    argument.appendBytes(p, length);
    p += length;
  }
  return argument.toCountedString();
}

}  // namespace

TokenList splitWindowsArguments(const CountedString& commandLine) {
  TokenList arguments;
  const char* p = commandLine.data();
  const char* end = p + commandLine.length();
  for (;;) {
    while (p < end && isBlankOrTab(*p)) ++p;
    if (p == end) return arguments;
    arguments.append(scanWindowsArgument(p, end));
  }
}
