#include "launcher/launch_plan.h"

#include <utility>

#include "launcher/class_path_move.h"
#include "launcher/default_jar.h"
#include "launcher/interpreter_escape.h"
#include "launcher/java_search.h"
#include "launcher/messages.h"
#include "launcher/program_search.h"
#include "launcher/run_command.h"
#include "platform/file_queries.h"
#include "util/argument_split.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/run_conventions.h"

namespace {

// How the interpreter, and a shell, end for a program they cannot find.
constexpr int kNotRecognizedStatus = 9009;
constexpr int kCannotRunStatus = 127;

// Each of the two modes gives the form of what runs, or false with the plan's error.
bool planLaunchFile(const ProcessFacts& facts, LaunchPlan* plan) {
  LaunchReport& report = plan->report;
  report.mode = LaunchMode::kLaunchFile;
  report.opened = buildLaunchFileCommand(report.launchFile, facts, &report.stages);
  if (!report.opened) {
    plan->error = cannotOpenMessage(report.launchFile);
    return false;
  }
  plan->error = report.stages.refusal;
  return plan->error.empty();
}

bool planDefaultJar(const ProcessFacts& facts, LaunchPlan* plan, CommandForm* form) {
  LaunchReport& report = plan->report;
  report.mode = LaunchMode::kDefaultJar;
  report.candidates = defaultJarCandidates(report.launcher, &report.jarName);
  for (size_t i = 0; i < report.candidates.size(); ++i) {
    if (pathExists(report.candidates[i])) {  // the first that exists ends the search
      report.found = static_cast<int>(i);
      break;
    }
  }
  report.options = defaultJarOptions(report.launcher, facts.environment, &report.optionsName);
  if (report.found < 0) {
    plan->error = jarNotFoundMessage(report.jarName);
    return false;
  }
  // Where the line runs through the interpreter, a run of characters the code page cannot hold is
  // enclosed: never a wildcard to java.exe. Where arguments pass exactly, the line only shows them.
  *form = defaultJarForm(report.candidates[report.found], report.options,
                         runConventions().runsThroughInterpreter ? shieldedText(report.tail)
                                                                 : report.tail.text);
  return true;
}

// As Windows and cmd.exe count a line: in UTF-16 code units.
int32_t characters(const CountedString& text) {
  return wideCharacterCount(text.data(), text.length());
}

// What running one form takes: its request, measured, or the error that stops it.
struct Runnable {
  CommandRequest request;
  CountedString error;          // not empty: it cannot run
  CountedString startReason;    // why it goes through cmd.exe
  int32_t interpreterLength = -1;
  int32_t wholeLength = -1;
};

// The argument of the line, counted as the program's C runtime counts them (the program itself
// not counted), that holds the byte at offset.
int32_t argumentAt(const CountedString& line, int32_t offset) {
  return static_cast<int32_t>(splitWindowsArguments(line.substring(0, offset + 1)).size()) - 1;
}

// Why a data byte of the line cannot be given to cmd.exe.
CountedString refusalMessage(EscapeRefusal why, int32_t argument) {
  switch (why) {
    case EscapeRefusal::kLineBreak: return lineBreakMessage(argument);
    case EscapeRefusal::kVariable: return launchFileVariableMessage(argument);
    case EscapeRefusal::kLaunchFileText: return launchFileTextMessage(argument);
    default: return brokenCharacterMessage(argument);
  }
}

// A line that Windows cannot start is an error: no interpreter could run it, so none is tried.
// One that cmd.exe will refuse still goes: another COMSPEC may take it.
void checkLineLimits(Runnable* runnable) {
  if (runnable->request.startCount == 0) return;
  const ProgramStart& start = runnable->request.starts[0];
  runnable->wholeLength = characters(start.commandLine);
  if (start.interpreter) {
    runnable->interpreterLength = characters(
        start.commandLine.substring(start.lineStart, start.commandLine.length()));
  }
  if (runnable->wholeLength > kWindowsLineLimit) {
    runnable->error = lineTooLongMessage(runnable->wholeLength, kWindowsLineLimit);
  }
}

// The java that the search found along PATH, where the line names it alone: found once.
CountedString javaAlongPath(const LaunchPlan& plan) {
  const JavaSearch& java = plan.report.java;
  return java.alongPath && plan.report.stages.javaFromHome.empty() ? java.file : CountedString();
}

// What the form takes to run on this platform, measured. alongPath: the file along PATH already
// found for a program named alone, or empty.
Runnable makeRunnable(const ProcessFacts& facts, const CommandForm& form,
                      const CountedString& program, const CountedString& alongPath) {
  Runnable runnable;
  runnable.request = commandOf(form, facts);
  runnable.request.windowed = facts.windowed;
  EscapeRefusal why = EscapeRefusal::kBrokenCharacter;
  const int32_t refusedAt = completeRequest(facts.environment, program, alongPath,
                                            &runnable.request, &runnable.startReason, &why);
  if (refusedAt >= 0) {
    runnable.error = refusalMessage(why, argumentAt(runnable.request.line, refusedAt));
    return runnable;
  }
  // Through cmd.exe, which does its own search, the launcher knows only the word.
  const ProgramStart& first = runnable.request.starts[0];
  const bool direct = runnable.request.startCount > 0 && !first.interpreter;
  runnable.request.programFile = direct ? first.program : program;
  checkLineLimits(&runnable);
  return runnable;
}

void adopt(Runnable runnable, LaunchPlan* plan) {
  plan->runnable = runnable.error.empty();
  plan->error = std::move(runnable.error);
  plan->request = std::move(runnable.request);
  plan->report.startReason = std::move(runnable.startReason);
  plan->report.interpreterLength = runnable.interpreterLength;
  plan->report.wholeLength = runnable.wholeLength;
}

// A line too long for cmd.exe runs with its class path in CLASSPATH where java reads it the same
// way and the line then fits; otherwise it stays as it was.
void moveLongClassPath(const ProcessFacts& facts, const CommandForm& form, LaunchPlan* plan) {
  ClassPathMove move;
  if (!classPathToMove(form, plan->report.interpreterLength,
                       facts.environment.value("JDK_JAVA_OPTIONS"), &move) ||
      characters(move.value) > kWindowsLineLimit) {
    return;
  }
  Runnable moved = makeRunnable(facts, move.form, plan->report.program, javaAlongPath(*plan));
  if (!moved.error.empty() || moved.interpreterLength > kInterpreterLineLimit) return;
  const int32_t unmovedLength = plan->report.interpreterLength;
  moved.request.classPath = std::move(move.value);
  adopt(std::move(moved), plan);  // also where the unmoved line was too long for Windows itself
  plan->report.unmovedLength = unmovedLength;
}

// A program word that asks for java by name alone (or through an unset JAVA_HOME) gets the one
// found where users keep it, when PATH has none. Found nowhere, the word stays as it is.
void findJavaFor(const ProcessFacts& facts, const CountedString& fromHome, CommandForm* form,
                 LaunchPlan* plan) {
  const ProgramWord word = programWord(*form);
  const CountedString& asked = fromHome.empty() ? word.name : fromHome;
  if (word.piece == form->size() || javaProgramNamed(asked).empty()) return;
  JavaSearch& java = plan->report.java;
  java = findJava(asked, facts);
  if (!java.file.empty() && (!java.alongPath || !fromHome.empty())) {
    replaceProgramWord(word, java.file, form);
  }
}

// Decides how what the form says runs on this platform, or the error that stops it. A java found
// nowhere ends the run as the interpreter or a shell ends it for a program it cannot find; the
// rest is still planned, for kestrelune-inspect to show what would run where there is one.
void planRequest(const ProcessFacts& facts, CommandForm* form, LaunchPlan* plan) {
  findJavaFor(facts, plan->report.stages.javaFromHome, form, plan);
  const JavaSearch& java = plan->report.java;
  if (runConventions().runsThroughInterpreter && !java.missing() &&
      !keepOutOfCurrentFolder(facts.environment, form, &plan->error)) {
    plan->runnable = false;
    return;
  }
  plan->report.program = programWord(*form).name;
  adopt(makeRunnable(facts, *form, plan->report.program, javaAlongPath(*plan)), plan);
  if (plan->request.startCount > 0) moveLongClassPath(facts, *form, plan);
  if (java.missing()) {
    plan->runnable = false;
    plan->error = javaNotFoundMessage(java.program, java.looked);
    plan->errorStatus = runConventions().runsThroughInterpreter ? kNotRecognizedStatus
                                                                : kCannotRunStatus;
  }
}

}  // namespace

LaunchPlan planLaunch(const ProcessFacts& facts) {
  LaunchPlan plan;
  LaunchReport& report = plan.report;
  report.launcher = facts.modulePath;
  report.launchFile = launchFilePath(report.launcher);
  report.tail = argumentsTail(facts);
  report.windowed = facts.windowed;
  CommandForm jarForm;
  CommandForm* form = &jarForm;
  // No fallback to the jar once the launch file exists, whatever happens there.
  if (pathExists(report.launchFile)) {
    plan.runnable = planLaunchFile(facts, &plan);
    form = &report.stages.form;
  } else {
    plan.runnable = planDefaultJar(facts, &plan, &jarForm);
  }
  if (plan.runnable) planRequest(facts, form, &plan);
  return plan;
}

int runPlan(const LaunchPlan& plan) {
  if (!plan.runnable) {
    // The jar is looked for only when the launch file is missing, and a misnamed or misplaced
    // launch file is the likelier fault: where there is room, a dialog names it too. The standard
    // error stream keeps its one line.
    const LaunchReport& report = plan.report;
    const bool noJar = report.mode == LaunchMode::kDefaultJar && report.found < 0;
    printError(plan.error, noJar ? noLaunchFileNote(report.launchFile) : CountedString());
    return plan.errorStatus;
  }
  return runCommand(plan.request);
}
