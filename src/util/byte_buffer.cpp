#include "util/byte_buffer.h"

#include <cstdlib>
#include <cstring>

#include "util/out_of_memory.h"

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : bytes_(other.bytes_), size_(other.size_), capacity_(other.capacity_) {
  other.bytes_ = nullptr;
  other.size_ = other.capacity_ = 0;
}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  if (this != &other) {
    std::free(bytes_);
    bytes_ = other.bytes_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.bytes_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  return *this;
}

ByteBuffer::~ByteBuffer() { std::free(bytes_); }

void ByteBuffer::appendBytes(const char* bytes, int32_t count) {
  if (count <= 0) return;
  if (static_cast<size_t>(count) > capacity_ - size_) grow(static_cast<size_t>(count));
  std::memcpy(bytes_ + size_, bytes, static_cast<size_t>(count));
  size_ += static_cast<size_t>(count);
}

void ByteBuffer::reserve(size_t count) {
  if (count <= capacity_) return;
  // realloc, not new and copy: a large block grows in place or by remapping its pages, so that
  // reading a big launch file does not copy it again at every doubling.
  void* bytes = std::realloc(bytes_, count);
  if (bytes == nullptr) exitOutOfMemory();
  bytes_ = static_cast<char*>(bytes);
  capacity_ = count;
}

void ByteBuffer::grow(size_t more) {
  if (more > static_cast<size_t>(INT32_MAX) - size_) exitOutOfMemory();  // no CountedString holds it
  size_t needed = size_ + more;
  size_t doubled = capacity_ < 32 ? 64 : capacity_ * 2;
  reserve(needed > doubled ? needed : doubled);
}

CountedString ByteBuffer::toCountedString() const {
  if (size_ >= static_cast<size_t>(INT32_MAX)) exitOutOfMemory();
  return CountedString(bytes_ == nullptr ? "" : bytes_, static_cast<int32_t>(size_));
}
