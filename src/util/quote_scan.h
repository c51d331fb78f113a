// The scan every stage shares: a text one character at a time, a lead byte with its second byte
// (so a second byte is never taken for a quote or a separator), telling for each character
// whether it stands inside double quotes. A double quote toggles; nothing escapes it.
#pragma once

#include <cstdint>

#include "util/code_page.h"
#include "util/counted_string.h"

class QuoteScan {
 public:
  QuoteScan(const char* text, int32_t length) : text_(text), length_(length) {}
  explicit QuoteScan(const CountedString& text) : QuoteScan(text.data(), text.length()) {}

  bool atEnd() const { return at_ >= length_; }
  /// Where the current character starts, and its bytes.
  int32_t at() const { return at_; }
  int length() const { return mbCharLength(text_ + at_); }
  char byte() const { return text_[at_]; }
  const char* character() const { return text_ + at_; }
  /// Inside quotes; a double quote itself reads as the side it opens or closes from.
  bool inQuotes() const { return inQuotes_; }

  void next() {
    if (text_[at_] == '"') inQuotes_ = !inQuotes_;
    at_ += mbCharLength(text_ + at_);
  }
  /// Goes on at at, past text that the caller has read itself: its quotes toggle nothing.
  void jumpTo(int32_t at) { at_ = at; }

 private:
  const char* text_;
  int32_t length_;
  int32_t at_ = 0;
  bool inQuotes_ = false;
};
