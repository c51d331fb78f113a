#include "launchfile/reader.h"

#include <cstdint>
#include <cstring>
#include <memory>

#include "launchfile/marked_text.h"
#include "platform/platform.h"
#include "util/code_page.h"
#include "util/out_of_memory.h"
#include "util/quote_scan.h"

namespace {

constexpr char kCarriageReturn = 0x0D;
constexpr char kLineFeed = 0x0A;
constexpr char kEndOfFile = 0x1A;  // Ctrl-Z: text mode reads nothing from here on

}  // namespace

bool TextModeTranslator::feed(const char* bytes, int32_t count) {
  if (ended_) return false;
  int32_t start = 0;  // the run of bytes that pass unchanged begins here
  if (pendingCr_ && count > 0) {
    pendingCr_ = false;
    if (bytes[0] == kLineFeed) {
      out_->appendByte(kLineFeed);
      start = 1;
    } else {
      out_->appendByte(kCarriageReturn);  // a lone CR stays
    }
  }
  for (int32_t i = start; i < count; ++i) {
    char byte = bytes[i];
    if (byte == kEndOfFile) {
      out_->appendBytes(bytes + start, i - start);
      ended_ = true;
      return false;
    }
    if (byte != kCarriageReturn) continue;
    if (i + 1 == count) {  // the next block decides whether this CR survives
      out_->appendBytes(bytes + start, i - start);
      pendingCr_ = true;
      return true;
    }
    if (bytes[i + 1] == kLineFeed) {  // drop the CR; the LF opens the next run
      out_->appendBytes(bytes + start, i - start);
      start = ++i;
    }
  }
  out_->appendBytes(bytes + start, count - start);
  return true;
}

void TextModeTranslator::finish() {
  if (pendingCr_) out_->appendByte(kCarriageReturn);  // a CR as the file's last byte
  pendingCr_ = false;
}

TokenList splitTokens(const CountedString& text, const CountedString& marks,
                      TokenList* tokenMarks) {
  TokenList tokens;
  const int32_t end = static_cast<int32_t>(std::strlen(text.data()));  // or a zero byte inside
  int32_t start = 0;
  auto add = [&](int32_t stop) {
    tokens.append(text.substring(start, stop));
    if (tokenMarks != nullptr) tokenMarks->append(marksOf(marks, start, stop));
  };
  // A lead byte takes its second byte with it, even a blank or a quote.
  for (QuoteScan scan(text.data(), end); !scan.atEnd(); scan.next()) {
    if (scan.inQuotes() || !mbIsSpace(static_cast<unsigned char>(scan.byte()))) continue;
    if (start < scan.at()) add(scan.at());
    start = scan.at() + 1;
  }
  if (start < end) add(end);
  return tokens;
}

TokenList splitTokens(const CountedString& text) {
  return splitTokens(text, CountedString(), nullptr);
}

bool readLaunchFileText(const CountedString& path, CountedString* text) {
  intptr_t file = platformOpenInput(path);
  if (file == -1) return false;
  ByteBuffer bytes;
  TextModeTranslator translator(&bytes);
  std::unique_ptr<char[]> block(new char[kReadBlockSize]);
  for (;;) {
    int32_t count = platformReadInput(file, block.get(), kReadBlockSize);
    if (count <= 0 || !translator.feed(block.get(), count)) break;
    // A text that no CountedString can hold would only fail later, after reading it all.
    if (bytes.size() >= static_cast<size_t>(INT32_MAX)) exitOutOfMemory();
  }
  translator.finish();
  platformCloseInput(file);
  *text = bytes.toCountedString();
  return true;
}

bool readLaunchFile(const CountedString& path, TokenList* tokens) {
  CountedString text;
  if (!readLaunchFileText(path, &text)) return false;
  *tokens = splitTokens(text);
  return true;
}
