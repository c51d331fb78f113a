#include "util/argument_split.h"

#include "util/byte_buffer.h"
#include "util/code_page.h"

TokenList splitLauncherArguments(const CountedString& commandLine) {
  TokenList arguments;
  ByteBuffer current;
  bool inArgument = false;
  bool inQuotes = false;
  const char* end = commandLine.data() + commandLine.length();
  for (const char* p = commandLine.data(); p < end;) {
    int length = mbCharLength(p);  // a second byte that looks like a quote or blank stays put
    if (!inQuotes && (*p == ' ' || *p == '\t')) {
      if (inArgument) arguments.append(current.toCountedString());
      current = ByteBuffer();
      inArgument = false;
    } else if (*p == '"') {
      inQuotes = !inQuotes;
      inArgument = true;
    } else {
      current.appendBytes(p, length);
      inArgument = true;
    }
    p += length;
  }
  if (inArgument) arguments.append(current.toCountedString());
  return arguments;
}
