#include "inspect/plan_warnings.h"

#include <cstring>

#include "launcher/class_path_move.h"
#include "launcher/messages.h"
#include "launcher/program_search.h"
#include "launchfile/macros.h"
#include "launchfile/path_list.h"
#include "launchfile/reader.h"
#include "util/argument_split.h"
#include "util/case_rules.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/run_conventions.h"
#include "util/wildcard.h"

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

// The file that runs for the program, found as the interpreter or execvp finds it; empty when
// none is. A bare name on Windows is looked for along PATH only: the launcher has already kept it
// out of the current folder.
CountedString programFile(const CountedString& program, bool bare, const Environment& environment) {
  if (!runConventions().runsThroughInterpreter) {
    if (bare) return findLikeExecvp(program, environment);
    return pathExists(program) ? program : CountedString();
  }
  if (bare) return findAlongPath(program, environment);
  for (const CountedString& candidate : programCandidates(program, environment)) {
    if (pathExists(candidate)) return candidate;
  }
  return CountedString();
}

// The program as the system is given it: on Windows the first word of the line as a C runtime
// reads it, on POSIX the first argument.
CountedString programOf(const LaunchPlan& plan) {
  const bool windows = runConventions().runsThroughInterpreter;
  TokenList words = windows ? splitWindowsArguments(plan.request.line) : plan.request.arguments;
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
  if (windows && !plan.request.lineMarks.empty() &&
      (endsWithNoCase(file, ".bat") || endsWithNoCase(file, ".cmd"))) {
    warnings->append(batchProgramWarning(file));
  }
}

// The launcher reads the launch file up to its first zero byte, which UTF-16 text has in every
// ASCII character.
void warnOfZeroByte(const LaunchPlan& plan, TokenList* warnings) {
  CountedString text;
  if (!plan.opened || !readLaunchFileText(plan.launchFile, &text)) return;
  if (std::memchr(text.data(), 0, static_cast<size_t>(text.length())) != nullptr) {
    warnings->append(zeroByteWarning());
  }
}

CountedString withoutQuotes(const CountedString& text) {
  return text.replaceAll("\"", CountedString());
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
  TokenList warnings;
  for (const CountedString& argument : unrepresentedArguments(plan.tail)) {
    warnings.append(unrepresentedArgumentWarning(argument, activeCodePage().codePage));
  }
  warnOfZeroByte(plan, &warnings);
  if (plan.opened) {
    warnings.appendAll(plan.stages.warnings);
    warnOfPatternsInOptions(plan.stages, &warnings);
    if (!plan.stages.usesArguments && !plan.tail.text.empty()) {
      warnings.append(argumentsDroppedWarning());
    }
    // Whoever controls the arguments (any web page, for a URL scheme) would control the JVM.
    const CountedString optionsEnd = argumentsAmongJavaOptions(plan.stages.form);
    if (!optionsEnd.empty()) warnings.append(argumentsAmongOptionsWarning(optionsEnd));
  }
  if (plan.described) warnOfProgram(plan, environment, &warnings);
  if (plan.described && plan.interpreterLength > kInterpreterLineLimit) {
    warnings.append(lineTooLongForInterpreterWarning(plan.interpreterLength, kInterpreterLineLimit));
  }
  return warnings;
}
