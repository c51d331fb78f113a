// The whole launch-file pipeline on one input written as the launch file: text-mode reading agrees
// with the model whatever the block sizes, every stage yields sound tokens, stage 2 agrees with
// the models, and the final command line splits back into the final tokens without their quotes.
#include <stdio.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "launcher/pipeline.h"
#include "launchfile/reader.h"
#include "util/byte_buffer.h"
#include "util/path_style.h"

namespace {

std::string launchFile;

// CR LF becomes LF, 0x1A ends the text, every other byte passes.
std::string referenceTextMode(const std::string& bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size() && bytes[i] != 0x1A; ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
}

std::string translateInBlocks(const std::string& bytes, uint8_t seed) {
  ByteBuffer out;
  TextModeTranslator translator(&out);
  uint32_t state = seed * 2654435761u + 1;
  for (size_t at = 0; at < bytes.size();) {
    state = state * 1103515245u + 12345u;
    size_t block = 1 + (state >> 16) % 7;
    if (block > bytes.size() - at) block = bytes.size() - at;
    if (!translator.feed(bytes.data() + at, static_cast<int32_t>(block))) break;
    at += block;
  }
  translator.finish();
  return fuzz::str(out.toCountedString());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUpProcessContext();
  launchFile = fuzz::fixtureDirectory() + "/bin dir/run.kestrelune";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::chooseTextSettings(data[0]);
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  FILE* file = fopen(launchFile.c_str(), "wb");
  if (file == nullptr) fuzz::fail("fopen", launchFile);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);

  std::string text = referenceTextMode(bytes);
  FUZZ_CHECK(translateInBlocks(bytes, data[0]) == text, bytes);

  LaunchFileStages stages;
  FUZZ_CHECK(buildLaunchFileCommand(fuzz::counted(launchFile), fuzz::facts(), &stages), launchFile);
  fuzz::checkTokens(stages.read, "read");
  fuzz::checkTokens(stages.expanded, "expanded");
  fuzz::checkTokens(stages.final, "final");
  fuzz::checkSplit(text, stages.read);

  std::vector<std::string> expanded;
  for (const CountedString& token : stages.read) {
    if (fuzz::str(token) == "%*") {
      expanded.push_back(std::string(1, '\0'));  // the place of the arguments, kept whole
      continue;
    }
    for (const std::string& piece :
         fuzz::referenceSplitTokens(fuzz::referenceExpandMacros(fuzz::str(token)))) {
      expanded.push_back(piece);
    }
  }
  std::vector<std::string> actual;
  for (const CountedString& token : stages.expanded) actual.push_back(fuzz::str(token));
  FUZZ_CHECK(actual == expanded, text);
  const CommandRequest request = commandOf(stages.form, fuzz::facts());
  fuzz::checkRoundTrip(stages.final, request.line);
  // Where the line runs through cmd.exe, its data as the stages marked it stays inert there.
  if (!request.lineDataMarks.empty()) {
    fuzz::checkInterpreterReading(fuzz::str(request.line), fuzz::str(request.lineDataMarks));
  }
  return 0;
}
