#include "launchfile/path_list.h"

#include "launchfile/marked_text.h"
#include "platform/file_queries.h"
#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/paths.h"
#include "util/quote_scan.h"
#include "util/run_conventions.h"
#include "util/wildcard.h"

namespace {

// Calls visit(start, end) for each stretch between list separators that stand outside double
// quotes (each with its quotes); for empty ones only when keepEmpty. A lead byte takes its second
// byte with it, so a second byte never passes for a separator. True when there was a separator.
template <typename Visit>
bool forEachPiece(const CountedString& token, bool keepEmpty, Visit visit) {
  const char separator = pathStyle().listSeparator;
  bool hadSeparator = false;
  int32_t start = 0;
  for (QuoteScan scan(token); !scan.atEnd(); scan.next()) {
    if (scan.inQuotes() || scan.byte() != separator) continue;
    hadSeparator = true;
    if (keepEmpty || scan.at() > start) visit(start, scan.at());
    start = scan.at() + 1;
  }
  if (keepEmpty || token.length() > start) visit(start, token.length());
  return hadSeparator;
}

TokenList splitAtSeparators(const CountedString& token, bool keepEmpty, bool* hadSeparator) {
  TokenList pieces;
  *hadSeparator = forEachPiece(token, keepEmpty, [&](int32_t start, int32_t end) {
    pieces.append(token.substring(start, end));
  });
  return pieces;
}

// The element of piece, its quotes gone, with its marks.
CountedString unquote(const char* piece, int32_t length, const CountedString& marks, int32_t at,
                      bool* hasWildcard, CountedString* elementMarks) {
  MarkedWriter element(elementMarks != nullptr);
  *hasWildcard = false;
  for (QuoteScan scan(piece, length); !scan.atEnd(); scan.next()) {
    char byte = scan.byte();
    if (byte == '"') continue;  // every quote goes, paired or not: it only shields "?" and "*"
    element.marked(scan.character(), marks, at + scan.at(), scan.length());
    if (!scan.inQuotes() && (byte == '?' || byte == '*')) *hasWildcard = true;
  }
  return element.finish(elementMarks);
}

}  // namespace

TokenList splitPathList(const CountedString& token, bool* hadSeparator) {
  return splitAtSeparators(token, false, hadSeparator);
}

CountedString unquotePathElement(const CountedString& piece, bool* hasWildcard) {
  return unquote(piece.data(), piece.length(), CountedString(), 0, hasWildcard, nullptr);
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

/// Writes elements straight into the result, so that thousands of matches cost linear time. The
/// quotes and separators are the launcher's own; names from a directory are data.
class ElementWriter {
 public:
  ElementWriter(bool joined, bool marking) : out_(marking), joined_(joined) {
    if (joined_) out_.byte('"');
  }

  void add(const CountedString& prefix, const CountedString& prefixMarks,
           const CountedString& name) {
    if (joined_) {
      if (count_ > 0) out_.byte(pathStyle().listSeparator);
    } else {
      if (count_ > 0) out_.byte(' ');
      out_.byte('"');
    }
    out_.marked(prefix.data(), prefixMarks, 0, prefix.length());
    out_.data(name);
    if (!joined_) out_.byte('"');
    ++count_;
  }

  CountedString finish(CountedString* marks) {
    if (joined_) out_.byte('"');
    return out_.finish(marks);
  }

 private:
  MarkedWriter out_;
  bool joined_;
  size_t count_ = 0;
};

// Notes the pattern when it matched nothing visible.
void addMatches(const CountedString& pattern, const CountedString& patternMarks,
                ElementWriter& writer, TokenList* unmatched) {
  CountedString prefix = patternDirectory(pattern);
  CountedString prefixMarks = marksOf(patternMarks, 0, prefix.length());
  bool matched = false;
  for (const CountedString& name : matchingNames(pattern)) {
    if (!isVisible(name)) continue;
    writer.add(prefix, prefixMarks, name);
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

CountedString expandPathList(const CountedString& token, TokenList* unmatched,
                             const CountedString& marks, CountedString* resultMarks) {
  if (runConventions().keepsUnmatchedPatterns) {
    if (resultMarks != nullptr) *resultMarks = marks;  // nothing runs it through an interpreter
    return expandLikeShell(token, unmatched);
  }
  const bool joined = forEachPiece(token, false, [](int32_t, int32_t) {});
  ElementWriter writer(joined, resultMarks != nullptr);
  const CountedString noName;
  forEachPiece(token, false, [&](int32_t start, int32_t end) {
    bool hasWildcard = false;
    CountedString elementMarks;
    CountedString element = unquote(token.data() + start, end - start, marks, start,
                                    &hasWildcard, resultMarks != nullptr ? &elementMarks : nullptr);
    if (hasWildcard) {
      addMatches(element, elementMarks, writer, unmatched);
    } else {
      writer.add(element, elementMarks, noName);  // whether it exists is never asked
    }
  });
  return writer.finish(resultMarks);
}
