// expandMacros on every zero-free piece of the input: agrees with the model, and its result splits
// into tokens that are never empty and hold no zero byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "launchfile/macros.h"
#include "launchfile/reader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUpProcessContext();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::chooseTextSettings(data[0]);
  for (const std::string& token : fuzz::piecesBetweenZeros(data + 1, size - 1)) {
    CountedString expanded = expandMacros(fuzz::counted(token), fuzz::facts());
    std::string text = fuzz::str(expanded);
    FUZZ_CHECK(text == fuzz::referenceExpandMacros(token), token + " gave " + text);
    FUZZ_CHECK(std::memchr(text.data(), 0, text.size()) == nullptr, token);
    fuzz::checkTokens(splitTokens(expanded), "expandMacros");
  }
  return 0;
}
