#include "launchfile/program_word.h"

#include "launchfile/marked_text.h"
#include "util/code_page.h"

namespace {

bool holdsBlank(const CountedString& text) {
  return text.findChar(' ') >= 0 || text.findChar('\t') >= 0;
}

}  // namespace

bool isCommandDelimiter(unsigned char byte) {
  return byte == ',' || byte == ';' || byte == '=' || byte == '(' || byte == ')' ||
         byte == 0x0B || byte == 0x0C || byte == 0xFF;
}

int32_t commandWordEnd(const CountedString& bare, const CountedString& marks, int32_t start) {
  if (holdsBlank(bare)) return bare.length();
  for (int32_t i = start; i < bare.length(); i += mbCharLength(bare.data() + i)) {
    if (isCommandDelimiter(bare.byteAt(i)) && !isDataAt(marks, i)) return i;
  }
  return bare.length();
}

ProgramWord programWord(const CommandForm& form, size_t from) {
  ProgramWord word;
  for (size_t i = from; i < form.size(); ++i) {
    word.piece = i;
    if (form.kind(i) == PieceKind::kArguments) return word;
    CountedString marks;
    const CountedString bare = withoutQuotes(form.text(i), form.dataMarks(i), &marks);
    int32_t start = 0;
    while (start < bare.length() && isCommandDelimiter(bare.byteAt(start)) &&
           !isDataAt(marks, start)) {
      ++start;
    }
    if (start == bare.length()) continue;
    int32_t end = commandWordEnd(bare, marks, start);
    const int32_t blank = bare.findChar(' ');
    if (form.kind(i) == PieceKind::kGlued && blank >= 0 && blank < end) end = blank;
    word.name = bare.substring(start, end);
    word.dataMarks = marksOf(marks, start, end);
    word.start = start;
    word.end = end;
    return word;
  }
  word.piece = form.size();
  return word;
}
