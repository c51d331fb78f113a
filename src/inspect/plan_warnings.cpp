#include "inspect/plan_warnings.h"

#include <cstring>

#include "launcher/class_path_move.h"
#include "launcher/java_search.h"
#include "launcher/messages.h"
#include "launcher/program_search.h"
#include "launchfile/macros.h"
#include "launchfile/path_list.h"
#include "launchfile/reader.h"
#include "platform/file_queries.h"
#include "util/argument_split.h"
#include "util/case_rules.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/run_conventions.h"
#include "util/text_helpers.h"
#include "util/wildcard.h"

namespace {

// The file that runs for the program, found as the interpreter or execvp finds it; empty when
// none is. A bare name on Windows is looked for along PATH only: the launcher has already kept it
// out of the current folder.
CountedString programFile(const CountedString& program, bool bare, const Environment& environment) {
  if (!runConventions().runsThroughInterpreter) {
    if (bare) return findLikeExecvp(program, environment);
    return pathExists(program) ? program : CountedString();
  }
  return programFileOf(program, environment);
}

// The program as the system is given it: on Windows the program word cmd.exe reads,
// on POSIX the first argument.
CountedString programOf(const LaunchPlan& plan) {
  if (runConventions().runsThroughInterpreter) return plan.report.program;
  const TokenList& words = plan.request.arguments;
  return words.empty() ? CountedString() : words[0];
}

// Whether the program will be found, and on Windows what cmd.exe does with it. A relative path
// depends on the user's current folder, which no look from here can tell.
void warnOfProgram(const LaunchPlan& plan, const Environment& environment, TokenList* warnings) {
  const CountedString program = programOf(plan);
  const bool windows = runConventions().runsThroughInterpreter;
  if (program.empty() || (windows && isInterpreterCommand(program))) return;
  const bool bare = windows ? isBareName(program) : program.findChar('/') < 0;
  const bool relative = !bare && !isAbsolute(program);
  if (windows && relative) warnings->append(relativeProgramWarning(program));
  CountedString file = programFile(program, bare, environment);
  if (file.empty() && !relative) {
    const int32_t folders =
        bare ? static_cast<int32_t>(searchPathDirectories(environment.value("PATH")).size()) : -1;
    warnings->append(programNotFoundWarning(program, folders, environment.value("JAVA_HOME")));
  }
  if (windows && !plan.request.lineDataMarks.empty() &&
      (endsWithNoCase(file, ".bat") || endsWithNoCase(file, ".cmd"))) {
    warnings->append(batchProgramWarning(file));
  }
}

// The launcher reads the launch file up to its first zero byte, which UTF-16 text has in every
// ASCII character.
void warnOfZeroByte(const LaunchPlan& plan, TokenList* warnings) {
  CountedString text;
  if (!plan.report.opened || !readLaunchFileText(plan.report.launchFile, &text)) return;
  if (std::memchr(text.data(), 0, static_cast<size_t>(text.length())) != nullptr) {
    warnings->append(zeroByteWarning());
  }
}

// True when a pattern of the path list without a folder, or with a relative one, matches a name
// in the user's current folder, which then takes the pattern's place.
bool matchesWhereTheUserIs(const CountedString& token) {
  bool separated = false;
  for (const CountedString& piece : splitPathList(token, &separated)) {
    bool wildcard = false;
    CountedString pattern = unquotePathElement(piece, &wildcard);
    if (!wildcard || isAbsolute(pattern)) continue;
    for (const CountedString& name : matchingNames(pattern)) {
      if (name.byteAt(0) != '.') return true;  // names with a leading "." never match
    }
  }
  return false;
}

// What the path-list stage does to options: a class path of one pattern becomes one argument per
// match, and a pattern matched where the user happens to be changes any other option.
void warnOfPatternsInOptions(const LaunchFileStages& stages, TokenList* warnings) {
  const TokenList& tokens = stages.expanded;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (isArgumentsSlot(tokens[i])) continue;
    const CountedString token = withoutQuotes(tokens[i]);
    if (i > 0 && isClassPathOption(withoutQuotes(tokens[i - 1]))) {
      const size_t arguments = splitTokens(expandPathList(tokens[i])).size();
      if (arguments > 1) {
        warnings->append(classPathSplitWarning(token, static_cast<int32_t>(arguments)));
      }
    } else if (token.byteAt(0) == '-' && matchesWhereTheUserIs(tokens[i])) {
      warnings->append(optionChangedWarning(token, withoutQuotes(expandPathList(tokens[i]))));
    }
  }
}

}  // namespace

TokenList planWarnings(const LaunchPlan& plan, const Environment& environment) {
  const LaunchReport& report = plan.report;
  TokenList warnings;
  for (const CountedString& argument : unrepresentedArguments(report.tail)) {
    warnings.append(unrepresentedArgumentWarning(argument, activeCodePage().codePage));
  }
  warnOfZeroByte(plan, &warnings);
  if (report.opened) {
    warnings.appendAll(report.stages.warnings);
    warnOfPatternsInOptions(report.stages, &warnings);
    if (!report.stages.usesArguments && !report.tail.text.empty()) {
      warnings.append(argumentsDroppedWarning());
    }
    // Whoever controls the arguments (any web page, for a URL scheme) would control the JVM.
    const CountedString optionsEnd = argumentsAmongJavaOptions(report.stages.form);
    if (!optionsEnd.empty()) warnings.append(argumentsAmongOptionsWarning(optionsEnd));
  }
  if (plan.runnable) warnOfProgram(plan, environment, &warnings);
  // A JAVA_HOME that cannot give java leaves the search to the other places: said where it
  // mattered.
  if (!report.java.program.empty() && !environment.value("JAVA_HOME").empty()) {
    const CountedString place = runtimeVariableState(environment, "JAVA_HOME", report.java.program);
    if (!place.empty()) warnings.append(runtimeVariableWarning(place));
  }
  if (plan.runnable && report.interpreterLength > kInterpreterLineLimit) {
    warnings.append(
        lineTooLongForInterpreterWarning(report.interpreterLength, kInterpreterLineLimit));
  }
  return warnings;
}
