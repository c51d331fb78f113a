#include "launchfile/command_line.h"

#include "launchfile/macros.h"
#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/paths.h"

namespace {

/// Length of the run of backslashes that ends text. Stepping from the start keeps a 0x5C that is
/// the second byte of a double-byte character out of the run.
int32_t trailingBackslashes(const CountedString& text) {
  const char* p = text.data();
  int32_t run = 0;
  for (int32_t i = 0; i < text.length();) {
    int length = mbCharLength(p + i);
    run = (length == 1 && p[i] == '\\') ? run + 1 : 0;
    i += length;
  }
  return run;
}

void appendToken(ByteBuffer& line, const CountedString& token, const CountedString& quote) {
  CountedString bare = token.replaceAll(quote, CountedString());
  if (bare.findChar(' ') < 0 && bare.findChar('\t') < 0) {
    line.appendString(bare);
    return;
  }
  line.appendString(quote);
  line.appendString(bare);
  if (pathStyle().doublesTrailingBackslashes) {
    // The C runtime reads backslashes before a quote as escapes: doubled, they stay themselves and
    // the closing quote still closes.
    int32_t run = trailingBackslashes(bare);
    line.appendBytes(bare.data() + bare.length() - run, run);
  }
  line.appendString(quote);
}

}  // namespace

CountedString assembleCommandLine(const TokenList& tokens) {
  const CountedString quote("\"");
  ByteBuffer line;
  bool first = true;
  auto append = [&](const CountedString& token) {
    if (!first) line.appendByte(' ');  // an empty token still gets its separator
    first = false;
    appendToken(line, token, quote);
  };
  for (const CountedString& token : tokens) {
    if (!isArgumentsSlot(token)) {
      append(token);
      continue;
    }
    // The arguments go to the program exactly; the line shows them as tokens of their own.
    for (const CountedString& argument : launcherArguments()) append(argument);
  }
  return line.toCountedString();
}
