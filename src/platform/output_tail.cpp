#include "platform/output_tail.h"

#include <cstring>

#include "util/code_page.h"

void OutputTail::append(const char* bytes, int32_t count) {
  if (count >= kCapacity) {
    std::memcpy(bytes_, bytes + count - kCapacity, kCapacity);
    cut_ = cut_ || length_ > 0 || count > kCapacity;
    length_ = kCapacity;
    return;
  }
  int32_t keep = length_ < kCapacity - count ? length_ : kCapacity - count;
  if (keep < length_) {
    std::memmove(bytes_, bytes_ + length_ - keep, keep);
    cut_ = true;
  }
  std::memcpy(bytes_ + keep, bytes, count);
  length_ = keep + count;
}

namespace {

bool isTrailingBlank(char byte) {
  return byte == '\n' || byte == '\r' || byte == ' ' || byte == '\t';
}

}  // namespace

CountedString lastLines(const CountedString& captured, bool cut, int32_t maxCharacters) {
  const char* text = captured.data();
  int32_t start = 0;
  if (cut) {
    // A line feed is never the second byte of a double-byte character: what follows one starts
    // a character. The bytes before it are looked at one by one, since the first may be an
    // orphan second byte that looks like a lead byte and would take the line feed with it.
    const void* lineFeed = std::memchr(text, '\n', static_cast<size_t>(captured.length()));
    if (lineFeed == nullptr) return CountedString();
    start = static_cast<int32_t>(static_cast<const char*>(lineFeed) - text) + 1;
  }
  int32_t end = captured.length();
  while (end > start && isTrailingBlank(text[end - 1])) --end;
  int32_t total = mbCharacterCount(text + start, end - start);
  int32_t boundary = -1;  // the first character boundary from which the rest fits
  for (int32_t i = start, seen = 0; i < end; i += mbCharLength(text + i), ++seen) {
    if (total - seen > maxCharacters) continue;
    if (i == start || text[i - 1] == '\n') return captured.substring(i, end);
    if (boundary < 0) boundary = i;
  }
  return boundary < 0 ? CountedString() : captured.substring(boundary, end);
}
