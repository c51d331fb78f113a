#include "launchfile/macros.h"

#include <cstdint>

#include "launchfile/arguments_tail.h"
#include "launchfile/marked_text.h"
#include "platform/file_queries.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/quote_scan.h"

namespace {

// The quotes are the launcher's own; what they enclose is data or not.
void writeQuoted(MarkedWriter* out, const CountedString& text, bool data) {
  out->byte('"');
  if (data) {
    out->data(text);
  } else {
    out->text(text);
  }
  out->byte('"');
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
  return "\"" + value + "\"";
}

// Expands the macro whose % stands at percent (outside quotes); returns where the scan goes on.
// The user's arguments and the launcher's folder are data; a variable's value is the packager's.
int32_t expandMacroAt(const CountedString& token, int32_t percent, const ProcessFacts& facts,
                      MarkedWriter* out, MacroFindings* findings) {
  switch (token.data()[percent + 1]) {  // the terminating zero when % is the last byte
    case '%':
      out->byte('%');
      return percent + 2;
    case '*':
      if (findings != nullptr) findings->usedArguments = true;
      out->data(shieldedText(argumentsTail(facts)));
      return percent + 2;
    case '@':
      writeQuoted(out, directoryOf(facts.modulePath), true);
      return percent + 2;
    default:
      break;
  }
  int32_t close = token.findChar('%', percent + 1);  // quotes do not matter to this search
  if (close < 0) {  // no partner: the rest of the token stays as it is
    if (findings != nullptr) findings->unclosedPercent = true;
    out->text(token.data() + percent, token.length() - percent);
    return token.length();
  }
  writeQuoted(out, variableValue(token.substring(percent + 1, close), facts, findings), false);
  return close + 1;
}

CountedString expandGeneral(const CountedString& token, const ProcessFacts& facts,
                            MacroFindings* findings, CountedString* marks) {
  MarkedWriter out(marks != nullptr);
  out.reserve(token.length());
  // Nothing inside the token's own double quotes is expanded.
  QuoteScan scan(token);
  while (!scan.atEnd()) {
    if (scan.inQuotes() && scan.byte() == '%' && findings != nullptr) {
      const char next = token.data()[scan.at() + 1];
      if (next == '*' || next == '@') findings->quotedMacro = true;
    }
    if (scan.inQuotes() || scan.byte() != '%') {
      out.text(scan.character(), scan.length());  // 1 for a lead byte that ends the token
      scan.next();
      continue;
    }
    scan.jumpTo(expandMacroAt(token, scan.at(), facts, &out, findings));
  }
  return out.finish(marks);
}

}  // namespace

CountedString expandMacros(const CountedString& token, const ProcessFacts& facts,
                           MacroFindings* findings, CountedString* marks) {
  if (!isWholeTokenVariable(token)) return expandGeneral(token, facts, findings, marks);
  if (marks != nullptr) *marks = CountedString();  // a value acts as the packager's own text
  return expandWholeTokenVariable(token, facts, findings);
}

// The closing % must be a character of its own: a lead byte followed by % hides that %, so such a
// token goes to the general scan.
bool isWholeTokenVariable(const CountedString& token) {
  return token.length() > 2 && token.byteAt(0) == '%' &&
         token.findChar('%', 1) == token.length() - 1;
}

CountedString argumentsSlot() { return CountedString("", 1); }

bool isArgumentsSlot(const CountedString& token) {
  return token.length() == 1 && token.byteAt(0) == 0;
}

bool isWholeTokenArguments(const CountedString& token) {
  return token.length() == 2 && token.byteAt(0) == '%' && token.byteAt(1) == '*';
}
