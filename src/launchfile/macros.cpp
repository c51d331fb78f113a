#include "launchfile/macros.h"

#include <cstdint>

#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "launchfile/arguments_tail.h"
#include "util/paths.h"
#include "util/quote_scan.h"

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
CountedString variableValue(const CountedString& name, const ProcessFacts& facts,
                            MacroFindings* findings) {
  CountedString value = facts.environment.value(name);
  if (value.empty() && findings != nullptr) findings->emptyVariables.append("%" + name + "%");
  return value;
}

CountedString expandWholeTokenVariable(const CountedString& token, const ProcessFacts& facts,
                                       MacroFindings* findings) {
  CountedString value = variableValue(token.substring(1, token.length() - 1), facts, findings);
  if (!pathExists(value)) return value;  // several options in one variable split apart later
  ByteBuffer out;
  appendQuoted(&out, value);
  return out.toCountedString();
}

// Expands the macro whose % stands at percent (outside quotes); returns where the scan goes on.
int32_t expandMacroAt(const CountedString& token, int32_t percent, const ProcessFacts& facts,
                      ByteBuffer* out, MacroFindings* findings) {
  switch (token.data()[percent + 1]) {  // the terminating zero when % is the last byte
    case '%':
      out->appendByte('%');
      return percent + 2;
    case '*':
      out->appendString(shieldedText(argumentsTail(facts)));
      return percent + 2;
    case '@':
      appendQuoted(out, directoryOf(facts.modulePath));
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
  appendQuoted(out, variableValue(token.substring(percent + 1, close), facts, findings));
  return close + 1;
}

CountedString expandGeneral(const CountedString& token, const ProcessFacts& facts,
                            MacroFindings* findings) {
  ByteBuffer out;
  out.reserve(static_cast<size_t>(token.length()));
  // Nothing inside the token's own double quotes is expanded.
  QuoteScan scan(token);
  while (!scan.atEnd()) {
    if (scan.inQuotes() || scan.byte() != '%') {
      out.appendBytes(scan.character(), scan.length());  // 1 for a lead byte that ends the token
      scan.next();
      continue;
    }
    scan.jumpTo(expandMacroAt(token, scan.at(), facts, &out, findings));
  }
  return out.toCountedString();
}

}  // namespace

CountedString expandMacros(const CountedString& token, const ProcessFacts& facts,
                           MacroFindings* findings) {
  return isWholeTokenVariable(token) ? expandWholeTokenVariable(token, facts, findings)
                                     : expandGeneral(token, facts, findings);
}

CountedString argumentsSlot() { return CountedString("", 1); }

bool isArgumentsSlot(const CountedString& token) {
  return token.length() == 1 && token.byteAt(0) == 0;
}

bool isWholeTokenArguments(const CountedString& token) {
  return token.length() == 2 && token.byteAt(0) == '%' && token.byteAt(1) == '*';
}
