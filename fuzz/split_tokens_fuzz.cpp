// splitTokens on arbitrary bytes: agrees with the model, never yields an empty token or one with a
// zero byte, and every token splits into itself alone.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "launchfile/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::chooseTextSettings(data[0]);
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  TokenList tokens = splitTokens(fuzz::counted(text));
  fuzz::checkTokens(tokens, "splitTokens");
  fuzz::checkSplit(text, tokens);
  return 0;
}
