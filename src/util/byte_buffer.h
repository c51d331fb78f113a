// ByteBuffer: the growable byte array into which scanners write their output.
#pragma once

#include <cstddef>
#include <cstdint>

#include "util/counted_string.h"

/// Its own array rather than std::vector, for the same reason as TokenList: no exceptions in the
/// launcher. A full memory ends the process with the out-of-memory line.
class ByteBuffer {
 public:
  ByteBuffer() noexcept = default;
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ~ByteBuffer();

  void appendByte(char byte) {
    if (size_ == capacity_) grow(1);
    bytes_[size_++] = byte;
  }
  void appendBytes(const char* bytes, int32_t count);
  void appendString(const CountedString& text) { appendBytes(text.data(), text.length()); }
  /// Room for count bytes in all, so that appending up to there never moves the bytes.
  void reserve(size_t count);
  void setByte(size_t i, char byte) { bytes_[i] = byte; }
  size_t size() const { return size_; }
  const char* data() const { return bytes_; }
  /// A copy of the bytes appended so far; the buffer is unchanged.
  CountedString toCountedString() const;

 private:
  /// Room for more bytes beyond size(), growing geometrically.
  void grow(size_t more);

  char* bytes_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};
