#include "launcher/pipeline.h"

#include "launchfile/path_list.h"
#include "launchfile/reader.h"
#include "util/run_conventions.h"

namespace {

// Applies expand to each token in order and appends the pieces its result splits into; the
// arguments slot passes as it is, and no stage looks inside it.
template <typename Expand>
TokenList expandEach(const TokenList& tokens, Expand expand) {
  TokenList result;
  for (const CountedString& token : tokens) {
    CountedString expanded = isArgumentsSlot(token) ? token : expand(token);
    if (isArgumentsSlot(expanded)) {
      result.append(std::move(expanded));
      continue;
    }
    // An expansion may vanish, stay one token or become several; order is kept.
    result.appendAll(splitTokens(expanded));
  }
  return result;
}

}  // namespace

bool buildLaunchFileCommand(const CountedString& launchFile, const ProcessFacts& facts,
                            LaunchFileStages* stages) {
  if (!readLaunchFile(launchFile, &stages->read)) return false;
  // Where arguments pass exactly, %* standing alone is not text to expand and split again: it
  // keeps its place for the arguments themselves.
  const bool keepsSlot = runConventions().passesArgumentsExactly();
  stages->macroFindings.resize(stages->read.size());
  size_t index = 0;
  stages->expanded = expandEach(stages->read, [&](const CountedString& token) {
    MacroFindings* findings = &stages->macroFindings[index++];
    if (keepsSlot && isWholeTokenArguments(token)) return argumentsSlot();
    return expandMacros(token, facts, findings);
  });
  stages->final = expandEach(stages->expanded, [&](const CountedString& token) {
    return expandPathList(token, &stages->unmatchedPatterns);
  });
  stages->form = launchFileForm(stages->final, facts);
  return true;
}
