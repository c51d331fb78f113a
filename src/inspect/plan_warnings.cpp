#include "inspect/plan_warnings.h"

#include "launcher/messages.h"
#include "launcher/program_search.h"
#include "util/argument_split.h"
#include "util/case_rules.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/run_conventions.h"

namespace {

bool isAbsolute(const CountedString& path) {
  const unsigned char first = path.byteAt(0);
  return first == '\\' || first == '/' || (path.length() > 1 && path.byteAt(1) == ':');
}

bool endsWithNoCase(const CountedString& text, const char* ending) {
  const CountedString tail(ending);
  return text.length() >= tail.length() &&
         mbCompareNoCase(text.data() + text.length() - tail.length(), tail.data(), tail.length());
}

// The file the interpreter will run for the program: along PATH for a bare name (the launcher has
// already kept it out of the current folder), else the path with the extensions it may lack.
CountedString programFile(const CountedString& program, const Environment& environment) {
  if (isBareName(program)) return findAlongPath(program, environment);
  for (const CountedString& candidate : programCandidates(program, environment)) {
    if (pathExists(candidate)) return candidate;
  }
  return CountedString();
}

// Windows: what cmd.exe does with the program the line names.
void warnOfProgram(const LaunchPlan& plan, const Environment& environment, TokenList* warnings) {
  TokenList words = splitWindowsArguments(plan.request.line);
  if (words.empty()) return;
  const CountedString& program = words[0];
  if (!isBareName(program) && !isAbsolute(program)) {
    warnings->append(relativeProgramWarning(program));
  }
  CountedString file = programFile(program, environment);
  if (!plan.request.lineMarks.empty() &&
      (endsWithNoCase(file, ".bat") || endsWithNoCase(file, ".cmd"))) {
    warnings->append(batchProgramWarning(file));
  }
}

}  // namespace

TokenList planWarnings(const LaunchPlan& plan, const Environment& environment) {
  TokenList warnings;
  for (const CountedString& argument : unrepresentedArguments(plan.tail)) {
    warnings.append(unrepresentedArgumentWarning(argument, activeCodePage().codePage));
  }
  if (plan.opened) warnings.appendAll(plan.stages.warnings);
  if (plan.described && runConventions().runsThroughInterpreter) {
    warnOfProgram(plan, environment, &warnings);
  }
  if (plan.described && plan.interpreterLength > kInterpreterLineLimit) {
    warnings.append(lineTooLongForInterpreterWarning(plan.interpreterLength, kInterpreterLineLimit));
  }
  return warnings;
}
