#include "util/token_list.h"

#include <new>
#include <utility>

#include "util/out_of_memory.h"

TokenList::TokenList(std::initializer_list<CountedString> tokens) {
  reserve(tokens.size());
  for (const CountedString& token : tokens) append(token);
}

TokenList::TokenList(const TokenList& other) { appendAll(other); }

TokenList::TokenList(TokenList&& other) noexcept
    : tokens_(other.tokens_), size_(other.size_), capacity_(other.capacity_) {
  other.tokens_ = nullptr;
  other.size_ = other.capacity_ = 0;
}

TokenList& TokenList::operator=(const TokenList& other) {
  if (this != &other) *this = TokenList(other);
  return *this;
}

TokenList& TokenList::operator=(TokenList&& other) noexcept {
  if (this != &other) {
    release();
    tokens_ = other.tokens_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.tokens_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  return *this;
}

TokenList::~TokenList() { release(); }

void TokenList::append(const CountedString& token) {
  // The copy is made first: token may be one of ours, and growing moves ours away.
  CountedString copy(token);
  append(std::move(copy));
}

void TokenList::append(CountedString&& token) {
  if (size_ == capacity_) grow(1);
  new (tokens_ + size_) CountedString(std::move(token));
  ++size_;
}

void TokenList::appendAll(const TokenList& other) {
  if (&other == this) {
    appendAll(TokenList(other));
    return;
  }
  grow(other.size_);
  for (const CountedString& token : other) append(token);
}

void TokenList::appendAll(TokenList&& other) {
  if (&other == this) {
    appendAll(TokenList(other));
    return;
  }
  if (size_ == 0) {
    *this = std::move(other);
    return;
  }
  grow(other.size_);
  for (size_t i = 0; i < other.size_; ++i) append(std::move(other.tokens_[i]));
  other.clear();
}

void TokenList::clear() noexcept {
  for (size_t i = 0; i < size_; ++i) tokens_[i].~CountedString();
  size_ = 0;
}

void TokenList::grow(size_t more) {
  if (more > static_cast<size_t>(-1) / sizeof(CountedString) - size_) exitOutOfMemory();
  size_t needed = size_ + more;
  if (needed <= capacity_) return;
  // At least doubled, so that a list built piece by piece costs linear time in all.
  size_t doubled = capacity_ < 4 ? 8 : capacity_ * 2;
  reserve(needed > doubled ? needed : doubled);
}

void TokenList::reserve(size_t count) {
  if (count <= capacity_) return;
  if (count > static_cast<size_t>(-1) / sizeof(CountedString)) exitOutOfMemory();
  auto* tokens = static_cast<CountedString*>(::operator new(count * sizeof(CountedString)));
  for (size_t i = 0; i < size_; ++i) {
    new (tokens + i) CountedString(std::move(tokens_[i]));
    tokens_[i].~CountedString();
  }
  ::operator delete(tokens_);
  tokens_ = tokens;
  capacity_ = count;
}

void TokenList::release() noexcept {
  clear();
  ::operator delete(tokens_);
  tokens_ = nullptr;
  capacity_ = 0;
}

bool operator==(const TokenList& a, const TokenList& b) {
  if (a.size_ != b.size_) return false;
  for (size_t i = 0; i < a.size_; ++i) {
    if (a.tokens_[i] != b.tokens_[i]) return false;
  }
  return true;
}
