// The end of a program's error output: what the windowed launcher keeps while its program runs,
// and the last lines of it that a dialog shows.
#pragma once

#include <cstdint>

#include "util/counted_string.h"

/// The last kCapacity bytes appended, in order, and whether anything before them was dropped.
/// A plain value: whoever shares one between threads holds a lock around it. Never allocates, so
/// a reading thread can append while the rest of the process runs out of memory.
class OutputTail {
 public:
  static constexpr int32_t kCapacity = 8192;

  void append(const char* bytes, int32_t count);
  CountedString text() const { return CountedString(bytes_, length_); }
  /// True once bytes have been dropped: the first kept byte may end a character.
  bool cut() const { return cut_; }

 private:
  char bytes_[kCapacity];
  int32_t length_ = 0;
  bool cut_ = false;
};

/// The last lines of captured, holding at most maxCharacters characters of the active code page,
/// with the line ends and blanks at its end removed. It starts at a line start, or, when the last
/// line alone is longer, at a character boundary inside it. When captured was cut, its first line
/// is left out: nothing tells where its characters begin. Empty when nothing is left.
CountedString lastLines(const CountedString& captured, bool cut, int32_t maxCharacters);
