#include "launcher/launch_plan.h"

#include <utility>

#include "launcher/default_jar.h"
#include "launcher/messages.h"
#include "launcher/run_command.h"
#include "util/code_page.h"
#include "util/paths.h"

namespace {

// Each of the two modes gives the form of what runs, or false with the plan's error.
bool planLaunchFile(const ProcessFacts& facts, LaunchPlan* plan) {
  plan->mode = LaunchMode::kLaunchFile;
  plan->opened = buildLaunchFileCommand(plan->launchFile, facts, &plan->stages);
  if (!plan->opened) {
    plan->error = cannotOpenMessage(plan->launchFile);
    return false;
  }
  return true;
}

bool planDefaultJar(const ProcessFacts& facts, LaunchPlan* plan, CommandForm* form) {
  plan->mode = LaunchMode::kDefaultJar;
  plan->candidates = defaultJarCandidates(plan->launcher, &plan->jarName);
  for (size_t i = 0; i < plan->candidates.size(); ++i) {
    if (pathExists(plan->candidates[i])) {  // the first that exists ends the search
      plan->found = static_cast<int>(i);
      break;
    }
  }
  plan->options = defaultJarOptions(plan->launcher, facts.environment, &plan->optionsName);
  if (plan->found < 0) {
    plan->error = jarNotFoundMessage(plan->jarName);
    return false;
  }
  *form = defaultJarForm(plan->candidates[plan->found], plan->options, plan->tail.text);
  return true;
}

int32_t characters(const CountedString& text) {
  return mbCharacterCount(text.data(), text.length());
}

// A line that Windows cannot start is the plan's error: no interpreter could run it, so none is
// tried. One that cmd.exe will refuse still goes: another COMSPEC may take it.
void checkLineLimits(LaunchPlan* plan) {
  if (plan->request.interpreterLines.empty()) return;
  const CountedString& line = plan->request.line;
  plan->interpreterLength = line.empty() ? 0 : characters(line) + 2;  // its pair of quotes
  plan->wholeLength = characters(plan->request.interpreterLines[0]);
  if (plan->wholeLength > kWindowsLineLimit) {
    plan->described = false;
    plan->error = lineTooLongMessage(plan->wholeLength, kWindowsLineLimit);
  }
}

}  // namespace

LaunchPlan planLaunch(const ProcessFacts& facts) {
  LaunchPlan plan;
  plan.launcher = facts.modulePath;
  plan.launchFile = launchFilePath(plan.launcher);
  plan.tail = argumentsTail(facts);
  CommandForm jarForm;
  const CommandForm* form = &jarForm;
  // No fallback to the jar once the launch file exists, whatever happens there.
  if (pathExists(plan.launchFile)) {
    plan.described = planLaunchFile(facts, &plan);
    form = &plan.stages.form;
  } else {
    plan.described = planDefaultJar(facts, &plan, &jarForm);
  }
  if (plan.described) {
    plan.request = commandOf(*form, facts);
    completeRequest(facts.environment, &plan.request);
    checkLineLimits(&plan);
  }
  return plan;
}

int carryOut(const LaunchPlan& plan) {
  if (!plan.described) {
    printError(plan.error);
    return -1;
  }
  return runCommand(plan.request);
}
