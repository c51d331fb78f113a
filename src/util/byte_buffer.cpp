#include "util/byte_buffer.h"

#include "util/out_of_memory.h"

CountedString ByteBuffer::toCountedString() const {
  if (bytes_.size() >= static_cast<size_t>(INT32_MAX)) exitOutOfMemory();
  return CountedString(bytes_.data(), static_cast<int32_t>(bytes_.size()));
}
