#include "inspect/plan_warnings.h"

#include "launcher/messages.h"
#include "util/code_page.h"

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

// What the macro stage met, token by token in the order of the launch file.
void warnOfMacros(const LaunchFileStages& stages, TokenList* warnings) {
  for (size_t i = 0; i < stages.read.size(); ++i) {
    const CountedString& token = stages.read[i];
    if (i == 0 && token.find(kByteOrderMark) == 0) {
      warnings->append(byteOrderMarkWarning(token));
    }
    if (i >= stages.macroFindings.size()) continue;
    const MacroFindings& findings = stages.macroFindings[i];
    for (const CountedString& variable : findings.emptyVariables) {
      warnings->append(emptyVariableWarning(variable, token));
    }
    if (findings.unclosedPercent) warnings->append(unclosedPercentWarning(token));
  }
}

}  // namespace

TokenList planWarnings(const LaunchPlan& plan) {
  TokenList warnings;
  for (const CountedString& argument : unrepresentedArguments(plan.tail)) {
    warnings.append(unrepresentedArgumentWarning(argument, activeCodePage().codePage));
  }
  if (plan.opened) {
    warnOfMacros(plan.stages, &warnings);
    for (const CountedString& pattern : plan.stages.unmatchedPatterns) {
      warnings.append(unmatchedPatternWarning(pattern));
    }
  }
  if (plan.described && plan.interpreterLength > kInterpreterLineLimit) {
    warnings.append(lineTooLongForInterpreterWarning(plan.interpreterLength, kInterpreterLineLimit));
  }
  return warnings;
}
