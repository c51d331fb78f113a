// assembleCommandLine on a list made of the input's zero-free pieces: agrees with the model, and
// the platform's argument rule splits the line back into the tokens without their quotes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "launchfile/command_line.h"
#include "util/path_style.h"
#include "util/run_conventions.h"

namespace {

bool hasBlankOrTab(const std::string& text) {
  for (size_t i = 0; i < text.size(); i += static_cast<size_t>(fuzz::charLength(text, i))) {
    if (text[i] == ' ' || text[i] == '\t') return true;
  }
  return false;
}

size_t trailingBackslashes(const std::string& text) {
  size_t run = 0;
  for (size_t i = 0; i < text.size();) {
    int length = fuzz::charLength(text, i);
    run = length == 1 && text[i] == '\\' ? run + 1 : 0;
    i += static_cast<size_t>(length);
  }
  return run;
}

std::string modelLine(const std::vector<std::string>& tokens) {
  std::string line;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (i > 0) line += ' ';
    std::string bare = fuzz::withoutQuotes(tokens[i]);
    if (!hasBlankOrTab(bare)) {
      line += bare;
      continue;
    }
    size_t doubled = runConventions().doublesTrailingBackslashes ? trailingBackslashes(bare) : 0;
    line += "\"" + bare + std::string(doubled, '\\') + "\"";
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::chooseTextSettings(data[0]);
  std::vector<std::string> pieces = fuzz::piecesBetweenZeros(data + 1, size - 1);
  TokenList tokens;
  for (const std::string& piece : pieces) tokens.append(fuzz::counted(piece));
  CountedString line = assembleCommandLine(tokens);
  FUZZ_CHECK(fuzz::str(line) == modelLine(pieces), fuzz::str(line));
  fuzz::checkRoundTrip(tokens, line);
  return 0;
}
