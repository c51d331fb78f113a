// splitPathList, unquotePathElement and expandPathList on every zero-free piece of the input: the
// first two agree with their models and with what follows from the rules; the stage's result
// splits into sound tokens and, without wildcards, is exactly the quoted list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "launchfile/path_list.h"
#include "launchfile/reader.h"
#include "util/path_style.h"
#include "util/run_conventions.h"

namespace {

void checkToken(const std::string& token) {
  bool hadSeparator = true;
  TokenList pieces = splitPathList(fuzz::counted(token), &hadSeparator);
  bool modelSeparator = false;
  std::vector<std::string> model = fuzz::referenceSplitPathList(token, &modelSeparator);
  std::vector<std::string> actual;
  size_t kept = 0;
  for (const CountedString& piece : pieces) {
    actual.push_back(fuzz::str(piece));
    kept += static_cast<size_t>(piece.length());
  }
  FUZZ_CHECK(actual == model && hadSeparator == modelSeparator, token);
  // Only separators are dropped, so any dropped byte means one was there.
  FUZZ_CHECK(hadSeparator == (kept != token.size()), token);

  std::vector<std::string> elements;
  bool anyWildcard = false;
  for (const std::string& piece : actual) {
    FUZZ_CHECK(!piece.empty(), token);
    bool again = true;
    TokenList same = splitPathList(fuzz::counted(piece), &again);
    FUZZ_CHECK(!again && same.size() == 1 && fuzz::str(same[0]) == piece, piece);

    bool hasWildcard = false;
    std::string element = fuzz::str(unquotePathElement(fuzz::counted(piece), &hasWildcard));
    bool modelWildcard = false;
    FUZZ_CHECK(element == fuzz::referenceUnquote(piece, &modelWildcard), piece);
    FUZZ_CHECK(hasWildcard == modelWildcard, piece);
    FUZZ_CHECK(element == fuzz::withoutQuotes(piece), piece);
    anyWildcard = anyWildcard || hasWildcard;
    elements.push_back(element);
  }

  CountedString expanded = expandPathList(fuzz::counted(token));
  fuzz::checkTokens(splitTokens(expanded), "expandPathList");
  if (anyWildcard) return;  // what matches is the file system's business
  if (runConventions().keepsUnmatchedPatterns) {  // as a shell: without a pattern, nothing changes
    FUZZ_CHECK(fuzz::str(expanded) == token, token + " gave " + fuzz::str(expanded));
    return;
  }
  std::string wanted;
  const char separator = pathStyle().listSeparator;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (hadSeparator) {
      if (i > 0) wanted += separator;
      wanted += elements[i];
    } else {
      if (i > 0) wanted += ' ';
      wanted += "\"" + elements[i] + "\"";
    }
  }
  if (hadSeparator) wanted = "\"" + wanted + "\"";
  FUZZ_CHECK(fuzz::str(expanded) == wanted, token + " gave " + fuzz::str(expanded));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUpProcessContext();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::chooseTextSettings(data[0]);
  for (const std::string& token : fuzz::piecesBetweenZeros(data + 1, size - 1)) checkToken(token);
  return 0;
}
