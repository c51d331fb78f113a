#include "launcher/plan_warnings.h"

#include "launcher/messages.h"
#include "launchfile/macros.h"
#include "launchfile/path_list.h"
#include "util/code_page.h"
#include "util/paths.h"

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

void warnOfMacros(const TokenList& read, TokenList* warnings) {
  for (size_t i = 0; i < read.size(); ++i) {
    const CountedString& token = read[i];
    if (i == 0 && token.find(kByteOrderMark) == 0) {
      warnings->append(byteOrderMarkWarning(token));
    }
    MacroFindings findings;
    expandMacros(token, &findings);
    for (const CountedString& variable : findings.emptyVariables) {
      warnings->append(emptyVariableWarning(variable, token));
    }
    if (findings.unclosedPercent) warnings->append(unclosedPercentWarning(token));
  }
}

void warnOfPatterns(const TokenList& expanded, TokenList* warnings) {
  for (const CountedString& token : expanded) {
    if (isArgumentsSlot(token)) continue;
    for (const CountedString& pattern : unmatchedPatterns(token)) {
      warnings->append(unmatchedPatternWarning(pattern));
    }
  }
}

}  // namespace

TokenList planWarnings(const LaunchPlan& plan) {
  TokenList warnings;
  for (const CountedString& argument : unrepresentedArguments()) {
    warnings.append(unrepresentedArgumentWarning(argument, activeCodePage().codePage));
  }
  if (plan.opened) {
    warnOfMacros(plan.stages.read, &warnings);
    warnOfPatterns(plan.stages.expanded, &warnings);
  }
  if (plan.described && plan.interpreterLength > kInterpreterLineLimit) {
    warnings.append(lineTooLongForInterpreterWarning(plan.interpreterLength, kInterpreterLineLimit));
  }
  return warnings;
}
