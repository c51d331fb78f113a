#include "launchfile/marked_text.h"

#include "util/code_page.h"
#include "util/text_helpers.h"

void MarkedWriter::write(const char* bytes, int32_t count, char mark) {
  text_.appendBytes(bytes, count);
  if (!marking_) return;
  for (int32_t i = 0; i < count; ++i) marks_.appendByte(mark);
  if (mark != 0) anyData_ = true;
}

void MarkedWriter::marked(const char* bytes, const CountedString& marks, int32_t at,
                          int32_t count) {
  if (!marking_ || marks.empty()) {
    write(bytes, count, 0);
    return;
  }
  text_.appendBytes(bytes, count);
  marks_.appendBytes(marks.data() + at, count);
  for (int32_t i = 0; i < count && !anyData_; ++i) anyData_ = marks.byteAt(at + i) != 0;
}

CountedString MarkedWriter::finish(CountedString* marks) const {
  if (marks != nullptr) *marks = anyData_ ? marks_.toCountedString() : CountedString();
  return text_.toCountedString();
}

CountedString withoutQuotes(const CountedString& token, const CountedString& marks,
                            CountedString* bareMarks) {
  if (marks.empty()) {
    *bareMarks = CountedString();
    return withoutQuotes(token);
  }
  MarkedWriter bare(true);
  for (int32_t i = 0; i < token.length();) {
    const int length = mbCharLength(token.data() + i);  // a second byte is never a quote
    if (length > 1 || token.data()[i] != '"') bare.marked(token.data() + i, marks, i, length);
    i += length;
  }
  return bare.finish(bareMarks);
}

CountedString marksOf(const CountedString& marks, int32_t start, int32_t end) {
  if (marks.empty()) return marks;
  for (int32_t i = start; i < end; ++i) {
    if (marks.byteAt(i) != 0) return marks.substring(start, end);
  }
  return CountedString();
}
