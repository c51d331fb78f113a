#include "launchfile/path_list.h"

#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/paths.h"
#include "util/quote_scan.h"
#include "util/run_conventions.h"
#include "util/wildcard.h"

namespace {

// The stretches between list separators that stand outside double quotes, each with its quotes;
// empty ones only when keepEmpty. A lead byte takes its second byte with it, so a second byte
// never passes for a separator.
TokenList splitAtSeparators(const CountedString& token, bool keepEmpty, bool* hadSeparator) {
  const char separator = pathStyle().listSeparator;
  TokenList pieces;
  *hadSeparator = false;
  int32_t start = 0;
  for (QuoteScan scan(token); !scan.atEnd(); scan.next()) {
    if (scan.inQuotes() || scan.byte() != separator) continue;
    *hadSeparator = true;
    if (keepEmpty || scan.at() > start) pieces.append(token.substring(start, scan.at()));
    start = scan.at() + 1;
  }
  if (keepEmpty || token.length() > start) pieces.append(token.substring(start, token.length()));
  return pieces;
}

}  // namespace

TokenList splitPathList(const CountedString& token, bool* hadSeparator) {
  return splitAtSeparators(token, false, hadSeparator);
}

CountedString unquotePathElement(const CountedString& piece, bool* hasWildcard) {
  ByteBuffer element;
  *hasWildcard = false;
  for (QuoteScan scan(piece); !scan.atEnd(); scan.next()) {
    char byte = scan.byte();
    if (byte == '"') continue;  // every quote goes, paired or not: it only shields "?" and "*"
    element.appendBytes(scan.character(), scan.length());
    if (!scan.inQuotes() && (byte == '?' || byte == '*')) *hasWildcard = true;
  }
  return element.toCountedString();
}

CountedString patternDirectory(const CountedString& pattern) {
  CountedString prefix = directoryOf(pattern);
  // The prefix ends just after a single-byte separator, so the search starts at a boundary.
  int32_t slash = mbFindLastChar(pattern.data() + prefix.length(), '/');
  return slash < 0 ? prefix : pattern.substring(0, prefix.length() + slash + 1);
}

namespace {

// Names beginning with "." (".", ".." and hidden names alike) are never matches.
bool isVisible(const CountedString& name) { return name.byteAt(0) != '.'; }

/// Writes elements straight into the result, so that thousands of matches cost linear time.
class ElementWriter {
 public:
  explicit ElementWriter(bool joined) : joined_(joined) {
    if (joined_) out_.appendByte('"');
  }

  void add(const CountedString& prefix, const CountedString& name) {
    if (joined_) {
      if (count_ > 0) out_.appendByte(pathStyle().listSeparator);
    } else {
      if (count_ > 0) out_.appendByte(' ');
      out_.appendByte('"');
    }
    out_.appendString(prefix);
    out_.appendString(name);
    if (!joined_) out_.appendByte('"');
    ++count_;
  }

  CountedString finish() {
    if (joined_) out_.appendByte('"');
    return out_.toCountedString();
  }

 private:
  ByteBuffer out_;
  bool joined_;
  size_t count_ = 0;
};

// Notes the pattern when it matched nothing visible.
void addMatches(const CountedString& pattern, ElementWriter& writer, TokenList* unmatched) {
  CountedString prefix = patternDirectory(pattern);
  bool matched = false;
  for (const CountedString& name : matchingNames(pattern)) {
    if (!isVisible(name)) continue;
    writer.add(prefix, name);
    matched = true;
  }
  if (!matched && unmatched != nullptr) unmatched->append(pattern);
}

/// Writes the visible matches of pattern, each with the pattern's directory, separated by
/// between; returns how many there were.
size_t appendVisibleMatches(const CountedString& pattern, const CountedString& between,
                            ByteBuffer* out) {
  CountedString prefix = patternDirectory(pattern);
  size_t count = 0;
  for (const CountedString& name : matchingNames(pattern)) {
    if (!isVisible(name)) continue;
    if (count++ > 0) out->appendString(between);
    out->appendString(prefix);
    out->appendString(name);
  }
  return count;
}

// As a shell does: only a pattern that matched changes, into its matches; everything else of the
// token, empty pieces of a list included, stays as written.
CountedString expandLikeShell(const CountedString& token, TokenList* unmatched) {
  bool hasWildcard = false;
  unquotePathElement(token, &hasWildcard);  // a separator is no wildcard: one look at the whole
  if (!hasWildcard) return token;           // most tokens: nothing to match, nothing to build
  bool isList = false;
  TokenList pieces = splitAtSeparators(token, true, &isList);
  const char separator[2] = {pathStyle().listSeparator, 0};
  const CountedString between = isList ? separator : "\" \"";  // in one list, or one token each
  ByteBuffer out;
  out.appendByte('"');
  bool matched = false;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (isList && i > 0) out.appendString(separator);
    CountedString element = unquotePathElement(pieces[i], &hasWildcard);
    if (hasWildcard && appendVisibleMatches(element, between, &out) > 0) {
      matched = true;
      continue;
    }
    if (hasWildcard && unmatched != nullptr) unmatched->append(element);
    out.appendString(element);
  }
  if (!matched) return token;
  out.appendByte('"');
  return out.toCountedString();
}

}  // namespace

CountedString expandPathList(const CountedString& token, TokenList* unmatched) {
  if (runConventions().keepsUnmatchedPatterns) return expandLikeShell(token, unmatched);
  bool hadSeparator = false;
  TokenList pieces = splitPathList(token, &hadSeparator);
  ElementWriter writer(hadSeparator);
  const CountedString noPrefix;
  for (const CountedString& piece : pieces) {
    bool hasWildcard = false;
    CountedString element = unquotePathElement(piece, &hasWildcard);
    if (hasWildcard) {
      addMatches(element, writer, unmatched);
    } else {
      writer.add(noPrefix, element);  // whether it exists is never asked
    }
  }
  return writer.finish();
}
