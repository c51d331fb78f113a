#include "launcher/pipeline.h"

#include "launcher/messages.h"
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

void noteMacroFindings(const CountedString& token, const MacroFindings& findings,
                       TokenList* warnings) {
  for (const CountedString& variable : findings.emptyVariables) {
    warnings->append(emptyVariableWarning(variable, token));
  }
  if (findings.unclosedPercent) warnings->append(unclosedPercentWarning(token));
}

}  // namespace

bool buildLaunchFileCommand(const CountedString& launchFile, const ProcessFacts& facts,
                            LaunchFileStages* stages) {
  if (!readLaunchFile(launchFile, &stages->read)) return false;
  if (!stages->read.empty() && stages->read[0].find("\xEF\xBB\xBF") == 0) {
    stages->warnings.append(byteOrderMarkWarning(stages->read[0]));
  }
  // Where arguments pass exactly, %* standing alone is not text to expand and split again: it
  // keeps its place for the arguments themselves.
  const bool keepsSlot = runConventions().passesArgumentsExactly();
  stages->expanded = expandEach(stages->read, [&](const CountedString& token) {
    if (keepsSlot && isWholeTokenArguments(token)) return argumentsSlot();
    MacroFindings findings;
    CountedString expanded = expandMacros(token, facts, &findings);
    noteMacroFindings(token, findings, &stages->warnings);
    return expanded;
  });
  TokenList unmatched;
  stages->final = expandEach(stages->expanded, [&](const CountedString& token) {
    return expandPathList(token, &unmatched);
  });
  for (const CountedString& pattern : unmatched) {
    stages->warnings.append(unmatchedPatternWarning(pattern));
  }
  stages->form = launchFileForm(stages->final, facts);
  return true;
}
