#include "inspect/plan_warnings.h"

#include "launcher/messages.h"
#include "util/code_page.h"

TokenList planWarnings(const LaunchPlan& plan) {
  TokenList warnings;
  for (const CountedString& argument : unrepresentedArguments(plan.tail)) {
    warnings.append(unrepresentedArgumentWarning(argument, activeCodePage().codePage));
  }
  if (plan.opened) warnings.appendAll(plan.stages.warnings);
  if (plan.described && plan.interpreterLength > kInterpreterLineLimit) {
    warnings.append(lineTooLongForInterpreterWarning(plan.interpreterLength, kInterpreterLineLimit));
  }
  return warnings;
}
