// Byte buffers with little-endian reads checked against their end, and the writes that build
// them: every file the brand tool reads comes from outside and may lie about its sizes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

/// A refusal: `file` names what was wrong (empty until a caller that knows the file fills it in).
struct BrandError : std::runtime_error {
  std::string file;
  explicit BrandError(const std::string& reason, std::string file = "")
      : std::runtime_error(reason), file(std::move(file)) {}
};

/// A window on bytes owned elsewhere. Reads outside it throw BrandError("<name> is cut short").
class ByteView {
 public:
  ByteView(const uint8_t* data, size_t size, const char* name) : data_(data), size_(size), name_(name) {}

  size_t size() const { return size_; }
  const uint8_t* data() const { return data_; }
  bool holds(size_t at, size_t length) const { return at <= size_ && length <= size_ - at; }
  void need(size_t at, size_t length) const {
    if (!holds(at, length)) throw BrandError(std::string(name_) + " is cut short");
  }
  uint8_t u8(size_t at) const { need(at, 1); return data_[at]; }
  uint16_t u16(size_t at) const {
    need(at, 2);
    return static_cast<uint16_t>(data_[at] | data_[at + 1] << 8);
  }
  uint32_t u32(size_t at) const {
    need(at, 4);
    return data_[at] | data_[at + 1] << 8 | data_[at + 2] << 16 | uint32_t(data_[at + 3]) << 24;
  }
  Bytes copy(size_t at, size_t length) const {
    need(at, length);
    return Bytes(data_ + at, data_ + at + length);
  }

 private:
  const uint8_t* data_;
  size_t size_;
  const char* name_;
};

inline void putU16(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}
inline void putU32(Bytes& out, uint32_t value) {
  putU16(out, static_cast<uint16_t>(value));
  putU16(out, static_cast<uint16_t>(value >> 16));
}
inline void setU16(Bytes& out, size_t at, uint16_t value) {
  out.at(at + 1) = static_cast<uint8_t>(value >> 8);
  out[at] = static_cast<uint8_t>(value);
}
inline void setU32(Bytes& out, size_t at, uint32_t value) {
  setU16(out, at, static_cast<uint16_t>(value));
  setU16(out, at + 2, static_cast<uint16_t>(value >> 16));
}
/// Zero bytes up to the next multiple of `alignment` (a power of two).
inline void padTo(Bytes& out, size_t alignment) { out.resize((out.size() + alignment - 1) & ~(alignment - 1), 0); }
inline uint64_t alignUp(uint64_t value, uint64_t alignment) { return (value + alignment - 1) / alignment * alignment; }
