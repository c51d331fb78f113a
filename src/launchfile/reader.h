// The first stage of the launch-file pipeline: reading the launch file in text mode, and the
// tokenizer that every later stage re-splits its output with.
#pragma once

#include <cstdint>

#include "util/byte_buffer.h"
#include "util/counted_string.h"
#include "util/token_list.h"

/// How many bytes the reader asks the platform for at a time.
constexpr int32_t kReadBlockSize = 64 * 1024;

/// Text-mode translation of a byte stream that arrives in blocks of any size: CR LF becomes LF,
/// a lone CR stays, 0x1A ends the input, every other byte (0x00 included) passes unchanged.
class TextModeTranslator {
 public:
  explicit TextModeTranslator(ByteBuffer* out) : out_(out) {}

  /// Translates one block into the output. Returns false once 0x1A has ended the input; later
  /// blocks are ignored.
  bool feed(const char* bytes, int32_t count);
  /// Delivers a CR that ended the last block; call once after the last block.
  void finish();

 private:
  ByteBuffer* out_;
  bool pendingCr_ = false;  // a CR whose fate depends on the next byte
  bool ended_ = false;
};

/// Splits text at whitespace outside double quotes. Quotes stay in the tokens; no token is
/// empty. The scan ends at the first zero byte.
TokenList splitTokens(const CountedString& text);
/// The same, with the marks of each token (marked_text.h) cut from marks into *tokenMarks.
TokenList splitTokens(const CountedString& text, const CountedString& marks,
                      TokenList* tokenMarks);

/// The whole file after text-mode translation. False when it cannot be opened (a directory
/// cannot); a read error ends the text where it happens.
bool readLaunchFileText(const CountedString& path, CountedString* text);

/// The tokens of the whole file, as splitTokens makes them of readLaunchFileText's text. False,
/// with tokens untouched, when the file cannot be opened.
bool readLaunchFile(const CountedString& path, TokenList* tokens);
