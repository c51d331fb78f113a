#include "launcher/launch_plan.h"

#include "launcher/default_jar.h"
#include "launcher/messages.h"
#include "launcher/run_command.h"
#include "util/paths.h"

namespace {

void planLaunchFile(LaunchPlan* plan) {
  plan->mode = LaunchMode::kLaunchFile;
  plan->described = buildLaunchFileCommand(plan->launchFile, &plan->stages);
  if (!plan->described) {
    plan->error = cannotOpenMessage(plan->launchFile);
    return;
  }
  plan->commandLine = plan->stages.commandLine;
}

void planDefaultJar(LaunchPlan* plan) {
  plan->mode = LaunchMode::kDefaultJar;
  plan->candidates = defaultJarCandidates(plan->launcher, &plan->jarName);
  for (size_t i = 0; i < plan->candidates.size(); ++i) {
    if (pathExists(plan->candidates[i])) {  // the first that exists ends the search
      plan->found = static_cast<int>(i);
      break;
    }
  }
  plan->optionsName = optionsVariableName(plan->launcher);
  plan->options = environmentValue(plan->optionsName);
  plan->described = plan->found >= 0;
  if (!plan->described) {
    plan->error = jarNotFoundMessage(plan->jarName);
    return;
  }
  plan->commandLine =
      defaultJarCommandLine(plan->candidates[plan->found], plan->options, plan->tail);
}

}  // namespace

LaunchPlan planLaunch() {
  LaunchPlan plan;
  plan.launcher = modulePath();
  plan.launchFile = launchFilePath(plan.launcher);
  plan.tail = commandLineTail();
  // No fallback to the jar once the launch file exists, whatever happens there.
  if (pathExists(plan.launchFile)) {
    planLaunchFile(&plan);
  } else {
    planDefaultJar(&plan);
  }
  if (plan.described) plan.request = commandRequest(plan.commandLine);
  return plan;
}

int carryOut(const LaunchPlan& plan) {
  if (!plan.described) {
    printError(plan.error);
    return plan.errorStatus;
  }
  return runCommand(plan.request);
}
