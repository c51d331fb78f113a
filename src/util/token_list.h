// TokenList: the ordered list of tokens that flows from one launch-file stage to the next.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "util/counted_string.h"

/// Stores its tokens by value; the pipeline only appends, walks first to last, and clears.
class TokenList {
 public:
  TokenList() = default;
  TokenList(std::initializer_list<CountedString> tokens) : tokens_(tokens) {}

  void append(const CountedString& token) { tokens_.push_back(token); }
  void append(CountedString&& token) { tokens_.push_back(std::move(token)); }
  /// Adds the other list's tokens at the end, in order; copies when given an lvalue.
  void appendAll(const TokenList& other) { tokens_.insert(tokens_.end(), other.begin(), other.end()); }
  void appendAll(TokenList&& other);
  void clear() { tokens_.clear(); }

  size_t size() const { return tokens_.size(); }
  bool empty() const { return tokens_.empty(); }
  const CountedString& operator[](size_t i) const { return tokens_[i]; }
  std::vector<CountedString>::const_iterator begin() const { return tokens_.begin(); }
  std::vector<CountedString>::const_iterator end() const { return tokens_.end(); }

  friend bool operator==(const TokenList& a, const TokenList& b) { return a.tokens_ == b.tokens_; }

 private:
  std::vector<CountedString> tokens_;
};

inline void TokenList::appendAll(TokenList&& other) {
  if (tokens_.empty()) {
    tokens_ = std::move(other.tokens_);
  } else {
    tokens_.reserve(tokens_.size() + other.tokens_.size());
    for (CountedString& token : other.tokens_) tokens_.push_back(std::move(token));
  }
  other.tokens_.clear();
}
