// Text with the marks of where its bytes came from: one byte per byte, non-zero for data (the
// user's arguments, the install folder, names from a directory), zero for the launch file's own
// text and the values of its variables. Only a line that an interpreter reads needs them; where
// none is run, nothing is marked and nothing is paid.
#pragma once

#include <cstdint>

#include "util/byte_buffer.h"
#include "util/counted_string.h"

/// Writes text and, when marking, its marks in step. The marks come out empty when no data was
/// written, so that text without data costs no second buffer downstream.
class MarkedWriter {
 public:
  explicit MarkedWriter(bool marking) : marking_(marking) {}

  void reserve(int32_t bytes) { text_.reserve(static_cast<size_t>(bytes)); }
  /// The launch file's own bytes, or a variable's.
  void text(const char* bytes, int32_t count) { write(bytes, count, 0); }
  void text(const CountedString& bytes) { write(bytes.data(), bytes.length(), 0); }
  void byte(char c) { write(&c, 1, 0); }
  /// Bytes from outside the launch file.
  void data(const CountedString& bytes) { write(bytes.data(), bytes.length(), 1); }
  /// Bytes with the marks they already have (empty marks: none is data).
  void marked(const char* bytes, const CountedString& marks, int32_t at, int32_t count);

  CountedString finish(CountedString* marks) const;

 private:
  void write(const char* bytes, int32_t count, char mark);

  ByteBuffer text_;
  ByteBuffer marks_;
  bool marking_;
  bool anyData_ = false;
};

/// The token without its double quotes, and in *bareMarks the marks of what stays (empty marks
/// stay empty).
CountedString withoutQuotes(const CountedString& token, const CountedString& marks,
                            CountedString* bareMarks);

/// True when the byte at i is data by marks (empty marks: none is).
inline bool isDataAt(const CountedString& marks, int32_t i) {
  return !marks.empty() && marks.byteAt(i) != 0;
}

/// The marks of text[start, end) from marks (empty stays empty, and so do marks with no data).
CountedString marksOf(const CountedString& marks, int32_t start, int32_t end);
