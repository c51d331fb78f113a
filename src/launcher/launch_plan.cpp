#include "launcher/launch_plan.h"

#include "launcher/default_jar.h"
#include "launcher/messages.h"
#include "launcher/run_command.h"
#include "util/argument_split.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/paths.h"

namespace {

void planLaunchFile(LaunchPlan* plan) {
  plan->mode = LaunchMode::kLaunchFile;
  plan->opened = buildLaunchFileCommand(plan->launchFile, &plan->stages);
  plan->described = plan->opened;
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
  plan->options = defaultJarOptions(plan->launcher, &plan->optionsName);
  plan->described = plan->found >= 0;
  if (!plan->described) {
    plan->error = jarNotFoundMessage(plan->jarName);
    return;
  }
  plan->commandLine =
      defaultJarCommandLine(plan->candidates[plan->found], plan->options, plan->tail);
}

// Where the launcher runs the program itself: the final tokens of the launch file, or the
// default jar launch's own words, with the user's arguments each exactly.
TokenList programArgumentsOf(const LaunchPlan& plan) {
  if (!pathStyle().passesArgumentsExactly()) return TokenList();
  if (plan.mode == LaunchMode::kLaunchFile) return programArguments(plan.stages.final);
  TokenList arguments = splitLauncherArguments(
      defaultJarCommandLine(plan.candidates[plan.found], plan.options, CountedString()));
  arguments.appendAll(launcherArguments());
  return arguments;
}

int32_t characters(const CountedString& text) {
  return mbCharacterCount(text.data(), text.length());
}

// A line that Windows cannot start is the plan's error: no interpreter could run it, so none is
// tried. One that cmd.exe will refuse still goes: another COMSPEC may take it.
void checkLineLimits(LaunchPlan* plan) {
  if (plan->request.interpreterLines.empty()) return;
  const CountedString& line = plan->commandLine;
  plan->interpreterLength = line.empty() ? 0 : characters(line) + 2;  // its pair of quotes
  plan->wholeLength = characters(plan->request.interpreterLines[0]);
  if (plan->wholeLength > kWindowsLineLimit) {
    plan->described = false;
    plan->error = lineTooLongMessage(plan->wholeLength, kWindowsLineLimit);
  } else if (plan->interpreterLength > kInterpreterLineLimit) {
    plan->warnings.append(lineTooLongForInterpreterWarning(plan->interpreterLength, kInterpreterLineLimit));
  }
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
  if (plan.described) {
    plan.request = commandRequest(plan.commandLine, programArgumentsOf(plan));
    checkLineLimits(&plan);
  }
  return plan;
}

int carryOut(const LaunchPlan& plan) {
  if (!plan.described) {
    printError(plan.error);
    return plan.errorStatus;
  }
  return runCommand(plan.request);
}
