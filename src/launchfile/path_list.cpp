#include "launchfile/path_list.h"

#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/paths.h"
#include "util/wildcard.h"

namespace {

// The stretches between list separators that stand outside double quotes, each with its quotes;
// empty ones only when keepEmpty. A lead byte takes its second byte with it, so a second byte
// never passes for a separator.
TokenList splitAtSeparators(const CountedString& token, bool keepEmpty, bool* hadSeparator) {
  const char separator = pathStyle().listSeparator;
  const char* text = token.data();
  TokenList pieces;
  *hadSeparator = false;
  bool inQuotes = false;
  int32_t start = 0;
  for (int32_t i = 0; i < token.length(); i += mbCharLength(text + i)) {
    if (!inQuotes && text[i] == separator) {
      *hadSeparator = true;
      if (keepEmpty || i > start) pieces.append(token.substring(start, i));
      start = i + 1;
    } else if (text[i] == '"') {
      inQuotes = !inQuotes;
    }
  }
  if (keepEmpty || token.length() > start) pieces.append(token.substring(start, token.length()));
  return pieces;
}

}  // namespace

TokenList splitPathList(const CountedString& token, bool* hadSeparator) {
  return splitAtSeparators(token, false, hadSeparator);
}

CountedString unquotePathElement(const CountedString& piece, bool* hasWildcard) {
  const char* text = piece.data();
  ByteBuffer element;
  *hasWildcard = false;
  bool inQuotes = false;
  for (int32_t i = 0; i < piece.length();) {
    int length = mbCharLength(text + i);
    if (text[i] == '"') {
      inQuotes = !inQuotes;  // every quote goes, paired or not: it only shields "?" and "*"
    } else {
      element.appendBytes(text + i, length);
      if (!inQuotes && (text[i] == '?' || text[i] == '*')) *hasWildcard = true;
    }
    i += length;
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

void addMatches(const CountedString& pattern, ElementWriter& writer) {
  CountedString prefix = patternDirectory(pattern);
  for (const CountedString& name : matchingNames(pattern)) {
    if (isVisible(name)) writer.add(prefix, name);
  }
}

}  // namespace

namespace {

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

bool hasVisibleMatch(const CountedString& pattern) {
  for (const CountedString& name : matchingNames(pattern)) {
    if (isVisible(name)) return true;
  }
  return false;
}

}  // namespace

TokenList unmatchedPatterns(const CountedString& token) {
  bool hadSeparator = false;
  TokenList unmatched;
  for (const CountedString& piece : splitPathList(token, &hadSeparator)) {
    bool hasWildcard = false;
    CountedString element = unquotePathElement(piece, &hasWildcard);
    if (hasWildcard && !hasVisibleMatch(element)) unmatched.append(element);
  }
  return unmatched;
}

namespace {

// As a shell does: only a pattern that matched changes, into its matches; everything else of the
// token, empty pieces of a list included, stays as written.
CountedString expandLikeShell(const CountedString& token) {
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
    } else {
      out.appendString(element);
    }
  }
  if (!matched) return token;
  out.appendByte('"');
  return out.toCountedString();
}

}  // namespace

CountedString expandPathList(const CountedString& token) {
  if (pathStyle().keepsUnmatchedPatterns) return expandLikeShell(token);
  bool hadSeparator = false;
  TokenList pieces = splitPathList(token, &hadSeparator);
  ElementWriter writer(hadSeparator);
  const CountedString noPrefix;
  for (const CountedString& piece : pieces) {
    bool hasWildcard = false;
    CountedString element = unquotePathElement(piece, &hasWildcard);
    if (hasWildcard) {
      addMatches(element, writer);
    } else {
      writer.add(noPrefix, element);  // whether it exists is never asked
    }
  }
  return writer.finish();
}
