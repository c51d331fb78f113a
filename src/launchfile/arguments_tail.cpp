#include "launchfile/arguments_tail.h"

#include "launchfile/marked_text.h"
#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/quote_scan.h"

namespace {

int32_t tailStart(const CountedString& line, int32_t end) {
  QuoteScan scan(line.data(), end);
  while (!scan.atEnd() && (scan.inQuotes() || !mbIsSpace(static_cast<unsigned char>(scan.byte())))) {
    scan.next();
  }
  int32_t start = scan.at();
  while (start < end && mbIsSpace(line.byteAt(start))) ++start;
  return start;
}

bool isReplaced(const ArgumentsTail& tail, int32_t at) { return tail.replacedCharacters.byteAt(at) != 0; }

}  // namespace

ArgumentsTail argumentsTail(const ProcessFacts& facts) {
  const CountedString& line = facts.commandLine;
  // The line ends at its first zero byte, as the system hands it over.
  int32_t end = 0;
  while (end < line.length() && line.byteAt(end) != 0) ++end;
  int32_t start = tailStart(line, end);
  // Marks that do not cover the line are no marks.
  const bool marked = facts.replacedCharacters.length() >= end;
  return {line.substring(start, end), marked ? marksOf(facts.replacedCharacters, start, end) : CountedString()};
}

CountedString shieldedText(const ArgumentsTail& tail) {
  if (tail.replacedCharacters.empty()) return tail.text;
  ByteBuffer out;
  int32_t backslashes = 0;  // the run that ends out
  // A quote put in after backslashes would be read as an escaped quote: double the run first.
  auto insertQuote = [&] {
    for (int32_t i = 0; i < backslashes; ++i) out.appendByte('\\');
    out.appendByte('"');
    backslashes = 0;
  };
  QuoteScan scan(tail.text);
  while (!scan.atEnd()) {
    bool run = !scan.inQuotes() && isReplaced(tail, scan.at());
    if (run) insertQuote();
    do {
      out.appendBytes(scan.character(), scan.length());
      backslashes = scan.length() == 1 && scan.byte() == '\\' ? backslashes + 1 : 0;
      scan.next();
    } while (run && !scan.atEnd() && isReplaced(tail, scan.at()));
    if (run) insertQuote();
  }
  return out.toCountedString();
}

TokenList unrepresentedArguments(const ArgumentsTail& tail) {
  TokenList words;
  if (tail.replacedCharacters.empty()) return words;
  bool marked = false;
  int32_t wordStart = 0;
  for (QuoteScan scan(tail.text);; scan.next()) {
    bool ends = scan.atEnd() || (!scan.inQuotes() && (scan.byte() == ' ' || scan.byte() == '\t'));
    if (ends) {
      if (marked) words.append(tail.text.substring(wordStart, scan.at()));
      marked = false;
      wordStart = scan.at() + 1;
      if (scan.atEnd()) return words;
      continue;
    }
    if (isReplaced(tail, scan.at())) marked = true;
  }
}
