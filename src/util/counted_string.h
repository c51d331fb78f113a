// CountedString: the one text type of the launcher. Bytes of the active ANSI code page with an
// explicit length; the block always ends in a zero byte, so the text can also be read as a C string.
#pragma once

#include <cstddef>
#include <cstdint>

/// Owns its block (length + 1 bytes, the last one zero); never null. Copies are deep; a moved-from
/// string is empty. The empty string shares one static block, so it costs no allocation.
class CountedString {
 public:
  CountedString() noexcept;
  /// Copies the bytes up to, not including, the first zero byte.
  CountedString(const char* text);  // NOLINT: implicit, like a string literal
  CountedString(std::nullptr_t) = delete;
  /// Copies exactly count bytes, zero bytes included.
  CountedString(const char* bytes, int32_t count);
  CountedString(const CountedString& other);
  CountedString(CountedString&& other) noexcept;
  CountedString& operator=(const CountedString& other);
  CountedString& operator=(CountedString&& other) noexcept;
  ~CountedString();

  const char* data() const { return data_; }
  int32_t length() const { return length_; }
  bool empty() const { return length_ == 0; }
  unsigned char byteAt(int32_t i) const { return static_cast<unsigned char>(data_[i]); }

  /// The bytes [start, end); callers keep 0 <= start <= end <= length().
  CountedString substring(int32_t start, int32_t end) const;
  /// Position of the first single-byte character c at or after from, or -1. Second bytes of
  /// double-byte characters never match.
  int32_t findChar(char c, int32_t from = 0) const;
  /// Position of the first occurrence of pattern starting at a character boundary at or after
  /// from, or -1.
  int32_t find(const CountedString& pattern, int32_t from = 0) const;
  /// Every non-overlapping occurrence of pattern, sought in this string only, replaced.
  CountedString replaceAll(const CountedString& pattern, const CountedString& replacement) const;

  /// The bytes of a string that is not empty, for the few operations that rewrite their own
  /// fresh copy in place (every empty string shares one block).
  char* mutableData() { return data_; }

  friend CountedString operator+(const CountedString& left, const CountedString& right);
  friend CountedString operator+(const CountedString& left, const char* right);
  friend CountedString operator+(const char* left, const CountedString& right);
  friend bool operator==(const CountedString& a, const CountedString& b);
  friend bool operator!=(const CountedString& a, const CountedString& b) { return !(a == b); }

 private:
  struct Uninitialized {};
  CountedString(Uninitialized, int32_t length);  // a fresh block with its terminating zero
  static CountedString concatenate(const char* a, int32_t na, const char* b, int32_t nb);
  void release() noexcept;

  char* data_;
  int32_t length_;
};
