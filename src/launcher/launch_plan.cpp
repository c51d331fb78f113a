#include "launcher/launch_plan.h"

#include <utility>

#include "launcher/class_path_move.h"
#include "launcher/default_jar.h"
#include "launcher/interpreter_escape.h"
#include "launcher/messages.h"
#include "launcher/program_search.h"
#include "launcher/run_command.h"
#include "platform/file_queries.h"
#include "util/argument_split.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/run_conventions.h"

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
  // Where the line runs through the interpreter, a run of characters the code page cannot hold is
  // enclosed: never a wildcard to java.exe. Where arguments pass exactly, the line only shows them.
  *form = defaultJarForm(plan->candidates[plan->found], plan->options,
                         runConventions().runsThroughInterpreter ? shieldedText(plan->tail)
                                                                 : plan->tail.text);
  return true;
}

int32_t characters(const CountedString& text) {
  return mbCharacterCount(text.data(), text.length());
}

// A line that Windows cannot start is the plan's error: no interpreter could run it, so none is
// tried. One that cmd.exe will refuse still goes: another COMSPEC may take it.
void checkLineLimits(LaunchPlan* plan) {
  if (plan->request.interpreterLines.empty()) return;
  const CountedString& whole = plan->request.interpreterLines[0];
  plan->wholeLength = characters(whole);
  // What follows the interpreter, its switches when it is cmd.exe, and " /c ".
  const int32_t start = plan->request.interpreters[0].length();
  const CountedString switches = CountedString(" ") + kInterpreterSwitches + " /c ";
  const int32_t line = start + (whole.find(switches, start) == start ? switches.length() : 4);
  plan->interpreterLength = characters(whole.substring(line, whole.length()));
  if (plan->wholeLength > kWindowsLineLimit) {
    plan->runnable = false;
    plan->error = lineTooLongMessage(plan->wholeLength, kWindowsLineLimit);
  }
}

// The argument of the line, counted as the program's C runtime counts them (the program itself
// not counted), that holds the byte at offset.
int32_t argumentAt(const CountedString& line, int32_t offset) {
  return static_cast<int32_t>(splitWindowsArguments(line.substring(0, offset + 1)).size()) - 1;
}

// Why the data byte of the line that escapeForInterpreter refused cannot be given to cmd.exe.
CountedString refusalMessage(const CommandRequest& request, int32_t argument) {
  CountedString escaped;
  EscapeRefusal why = EscapeRefusal::kBrokenCharacter;
  escapeForInterpreter(request.line, request.lineDataMarks, &escaped, &why);
  switch (why) {
    case EscapeRefusal::kLineBreak: return lineBreakMessage(argument);
    case EscapeRefusal::kVariable: return launchFileVariableMessage(argument);
    case EscapeRefusal::kLaunchFileText: return launchFileTextMessage(argument);
    default: return brokenCharacterMessage(argument);
  }
}

// The request for the form, measured; false with the plan's error when its line cannot be
// given to the interpreter.
bool makeRunnable(const ProcessFacts& facts, const CommandForm& form, LaunchPlan* plan) {
  plan->request = commandOf(form, facts);
  plan->request.windowed = facts.windowed;
  int32_t refusedAt = completeRequest(facts.environment, &plan->request);
  if (refusedAt >= 0) {
    plan->runnable = false;
    plan->error = refusalMessage(plan->request, argumentAt(plan->request.line, refusedAt));
    return false;
  }
  checkLineLimits(plan);
  return true;
}

// A line too long for cmd.exe runs with its class path in CLASSPATH where java reads it the same
// way and the line then fits; otherwise it stays as it was.
void moveLongClassPath(const ProcessFacts& facts, const CommandForm& form, LaunchPlan* plan) {
  ClassPathMove move;
  if (!classPathToMove(form, plan->interpreterLength, facts.environment.value("JDK_JAVA_OPTIONS"),
                       &move) ||
      characters(move.value) > kWindowsLineLimit) {
    return;
  }
  LaunchPlan moved;
  moved.runnable = true;
  makeRunnable(facts, move.form, &moved);
  if (!moved.runnable || moved.interpreterLength > kInterpreterLineLimit) return;
  plan->unmovedLength = plan->interpreterLength;
  plan->request = std::move(moved.request);
  plan->request.classPath = std::move(move.value);
  plan->interpreterLength = moved.interpreterLength;
  plan->wholeLength = moved.wholeLength;
  plan->runnable = true;  // also where the unmoved line was too long for Windows itself
  plan->error = CountedString();
}

// Decides how what the form says runs on this platform, or the error that stops it.
void planRequest(const ProcessFacts& facts, CommandForm* form, LaunchPlan* plan) {
  if (runConventions().runsThroughInterpreter &&
      !keepOutOfCurrentFolder(facts.environment, form, &plan->error)) {
    plan->runnable = false;
    return;
  }
  if (makeRunnable(facts, *form, plan)) moveLongClassPath(facts, *form, plan);
}

}  // namespace

LaunchPlan planLaunch(const ProcessFacts& facts) {
  LaunchPlan plan;
  plan.launcher = facts.modulePath;
  plan.launchFile = launchFilePath(plan.launcher);
  plan.tail = argumentsTail(facts);
  plan.windowed = facts.windowed;
  CommandForm jarForm;
  CommandForm* form = &jarForm;
  // No fallback to the jar once the launch file exists, whatever happens there.
  if (pathExists(plan.launchFile)) {
    plan.runnable = planLaunchFile(facts, &plan);
    form = &plan.stages.form;
  } else {
    plan.runnable = planDefaultJar(facts, &plan, &jarForm);
  }
  if (plan.runnable) planRequest(facts, form, &plan);
  return plan;
}

int runPlan(const LaunchPlan& plan) {
  if (!plan.runnable) {
    printError(plan.error);
    return -1;
  }
  return runCommand(plan.request);
}
