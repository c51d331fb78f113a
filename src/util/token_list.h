// TokenList: the ordered list of tokens that flows from one launch-file stage to the next.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <utility>

#include "util/counted_string.h"

/// Stores its tokens by value; the pipeline only appends, walks first to last, and clears. Its own
/// array rather than std::vector: the launcher is built without exceptions, and a full memory ends
/// the process through operator new like every other allocation.
class TokenList {
 public:
  TokenList() noexcept = default;
  TokenList(std::initializer_list<CountedString> tokens);
  TokenList(const TokenList& other);
  TokenList(TokenList&& other) noexcept;
  TokenList& operator=(const TokenList& other);
  TokenList& operator=(TokenList&& other) noexcept;
  ~TokenList();

  void append(const CountedString& token);
  void append(CountedString&& token);
  /// Adds the other list's tokens at the end, in order; copies when given an lvalue.
  void appendAll(const TokenList& other);
  void appendAll(TokenList&& other);
  /// Puts token in the place of token i.
  void replace(size_t i, CountedString token) { tokens_[i] = std::move(token); }
  void clear() noexcept;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const CountedString& operator[](size_t i) const { return tokens_[i]; }
  const CountedString* begin() const { return tokens_; }
  const CountedString* end() const { return tokens_ + size_; }

  friend bool operator==(const TokenList& a, const TokenList& b);
  friend bool operator!=(const TokenList& a, const TokenList& b) { return !(a == b); }

 private:
  /// Room for more tokens beyond size(), growing geometrically.
  void grow(size_t more);
  /// Room for exactly count tokens; the tokens held so far are moved, never copied.
  void reserve(size_t count);
  void release() noexcept;

  CountedString* tokens_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};
