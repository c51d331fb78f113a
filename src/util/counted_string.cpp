#include "util/counted_string.h"

#include <cstdint>
#include <cstring>

#include "util/code_page.h"
#include "util/out_of_memory.h"

namespace {

// Every empty string points here, so an empty string never allocates and is never null.
char emptyBlock[1] = {0};

int32_t checkedLength(size_t length) {
  if (length >= static_cast<size_t>(INT32_MAX)) exitOutOfMemory();
  return static_cast<int32_t>(length);
}

}  // namespace

CountedString::CountedString() noexcept : data_(emptyBlock), length_(0) {}

CountedString::CountedString(Uninitialized, int32_t length)
    : data_(length == 0 ? emptyBlock : new char[static_cast<size_t>(length) + 1]), length_(length) {
  data_[length] = 0;
}

CountedString::CountedString(const char* text)
    : CountedString(text, checkedLength(std::strlen(text))) {}

CountedString::CountedString(const char* bytes, int32_t count)
    : CountedString(Uninitialized{}, count) {
  if (count > 0) std::memcpy(data_, bytes, static_cast<size_t>(count));
}

CountedString::CountedString(const CountedString& other)
    : CountedString(other.data_, other.length_) {}

CountedString::CountedString(CountedString&& other) noexcept
    : data_(other.data_), length_(other.length_) {
  other.data_ = emptyBlock;
  other.length_ = 0;
}

CountedString& CountedString::operator=(const CountedString& other) {
  if (this != &other) *this = CountedString(other);
  return *this;
}

CountedString& CountedString::operator=(CountedString&& other) noexcept {
  if (this != &other) {
    release();
    data_ = other.data_;
    length_ = other.length_;
    other.data_ = emptyBlock;
    other.length_ = 0;
  }
  return *this;
}

CountedString::~CountedString() { release(); }

void CountedString::release() noexcept {
  if (data_ != emptyBlock) delete[] data_;
}

CountedString CountedString::substring(int32_t start, int32_t end) const {
  return CountedString(data_ + start, end - start);
}

int32_t CountedString::findChar(char c, int32_t from) const {
  int32_t found = mbFindChar(data_ + from, static_cast<unsigned char>(c));
  return found < 0 ? -1 : from + found;
}

int32_t CountedString::find(const CountedString& pattern, int32_t from) const {
  int32_t found = mbFindText(data_ + from, pattern.data_);
  return found < 0 ? -1 : from + found;
}

CountedString CountedString::replaceAll(const CountedString& pattern,
                                        const CountedString& replacement) const {
  if (pattern.empty()) return *this;  // never asked for; an empty pattern would never advance
  // Counted first, so that the result is one block written once: linear however many matches.
  size_t matches = 0;
  for (int32_t p = find(pattern); p >= 0; p = find(pattern, p + pattern.length_)) ++matches;
  if (matches == 0) return *this;
  size_t length = static_cast<size_t>(length_) - matches * static_cast<size_t>(pattern.length_) +
                  matches * static_cast<size_t>(replacement.length_);
  CountedString result(Uninitialized{}, checkedLength(length));
  char* out = result.data_;
  int32_t q = 0;
  for (int32_t p = find(pattern); p >= 0; p = find(pattern, q)) {
    std::memcpy(out, data_ + q, static_cast<size_t>(p - q));
    out += p - q;
    std::memcpy(out, replacement.data_, static_cast<size_t>(replacement.length_));
    out += replacement.length_;
    q = p + pattern.length_;
  }
  std::memcpy(out, data_ + q, static_cast<size_t>(length_ - q));
  return result;
}

CountedString CountedString::concatenate(const char* a, int32_t na, const char* b, int32_t nb) {
  CountedString result(Uninitialized{}, checkedLength(static_cast<size_t>(na) + nb));
  if (na > 0) std::memcpy(result.data_, a, static_cast<size_t>(na));
  if (nb > 0) std::memcpy(result.data_ + na, b, static_cast<size_t>(nb));
  return result;
}

CountedString operator+(const CountedString& left, const CountedString& right) {
  return CountedString::concatenate(left.data_, left.length_, right.data_, right.length_);
}

CountedString operator+(const CountedString& left, const char* right) {
  return CountedString::concatenate(left.data_, left.length_, right,
                                    checkedLength(std::strlen(right)));
}

CountedString operator+(const char* left, const CountedString& right) {
  return CountedString::concatenate(left, checkedLength(std::strlen(left)), right.data_,
                                    right.length_);
}

bool operator==(const CountedString& a, const CountedString& b) {
  return a.length_ == b.length_ &&
         (a.length_ == 0 || std::memcmp(a.data_, b.data_, static_cast<size_t>(a.length_)) == 0);
}
