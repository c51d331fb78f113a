#include "launchfile/macros.h"

#include <cstdint>

#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/paths.h"

namespace {

void appendQuoted(ByteBuffer* out, const CountedString& text) {
  out->appendByte('"');
  out->appendString(text);
  out->appendByte('"');
}

// %NAME% and nothing else. The closing % must be a character of its own: a lead byte followed
// by % hides that %, so such a token goes to the general scan.
bool isWholeTokenVariable(const CountedString& token) {
  return token.length() > 2 && token.byteAt(0) == '%' &&
         token.findChar('%', 1) == token.length() - 1;
}

// The value of the variable name, noted in findings when it is empty.
CountedString variableValue(const CountedString& name, MacroFindings* findings) {
  CountedString value = environmentValue(name);
  if (value.empty() && findings != nullptr) findings->emptyVariables.append("%" + name + "%");
  return value;
}

CountedString expandWholeTokenVariable(const CountedString& token, MacroFindings* findings) {
  CountedString value = variableValue(token.substring(1, token.length() - 1), findings);
  if (!pathExists(value)) return value;  // several options in one variable split apart later
  ByteBuffer out;
  appendQuoted(&out, value);
  return out.toCountedString();
}

// Expands the macro whose % stands at percent (outside quotes); returns where the scan goes on.
int32_t expandMacroAt(const CountedString& token, int32_t percent, ByteBuffer* out,
                      MacroFindings* findings) {
  switch (token.data()[percent + 1]) {  // the terminating zero when % is the last byte
    case '%':
      out->appendByte('%');
      return percent + 2;
    case '*':
      out->appendString(shieldedCommandLineTail());
      return percent + 2;
    case '@':
      appendQuoted(out, directoryOf(modulePath()));
      return percent + 2;
    default:
      break;
  }
  int32_t close = token.findChar('%', percent + 1);  // quotes do not matter to this search
  if (close < 0) {  // no partner: the rest of the token stays as it is
    if (findings != nullptr) findings->unclosedPercent = true;
    out->appendBytes(token.data() + percent, token.length() - percent);
    return token.length();
  }
  appendQuoted(out, variableValue(token.substring(percent + 1, close), findings));
  return close + 1;
}

CountedString expandGeneral(const CountedString& token, MacroFindings* findings) {
  ByteBuffer out;
  out.reserve(static_cast<size_t>(token.length()));
  bool inQuotes = false;
  int32_t p = 0;
  while (p < token.length()) {
    char byte = token.data()[p];
    if (inQuotes || byte != '%') {
      int length = mbCharLength(token.data() + p);  // 1 for a lead byte that ends the token
      out.appendBytes(token.data() + p, length);
      if (byte == '"') inQuotes = !inQuotes;
      p += length;
    } else {
      p = expandMacroAt(token, p, &out, findings);
    }
  }
  return out.toCountedString();
}

}  // namespace

CountedString expandMacros(const CountedString& token, MacroFindings* findings) {
  return isWholeTokenVariable(token) ? expandWholeTokenVariable(token, findings)
                                     : expandGeneral(token, findings);
}

CountedString expandMacros(const CountedString& token) { return expandMacros(token, nullptr); }

CountedString argumentsSlot() { return CountedString("", 1); }

bool isArgumentsSlot(const CountedString& token) {
  return token.length() == 1 && token.byteAt(0) == 0;
}

bool isWholeTokenArguments(const CountedString& token) {
  return token.length() == 2 && token.byteAt(0) == '%' && token.byteAt(1) == '*';
}
