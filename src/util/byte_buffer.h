// ByteBuffer: the growable byte array into which scanners write their output.
#pragma once

#include <cstdint>
#include <vector>

#include "util/counted_string.h"

class ByteBuffer {
 public:
  void appendByte(char byte) { bytes_.push_back(byte); }
  void appendBytes(const char* bytes, int32_t count) { bytes_.insert(bytes_.end(), bytes, bytes + count); }
  void appendString(const CountedString& text) { appendBytes(text.data(), text.length()); }
  void reserve(size_t count) { bytes_.reserve(count); }
  size_t size() const { return bytes_.size(); }
  /// A copy of the bytes appended so far; the buffer is unchanged.
  CountedString toCountedString() const;

 private:
  std::vector<char> bytes_;
};
