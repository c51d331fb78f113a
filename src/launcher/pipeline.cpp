#include "launcher/pipeline.h"

#include "launcher/java_runtime.h"
#include "launcher/java_search.h"
#include "launcher/messages.h"
#include "launchfile/path_list.h"
#include "launchfile/reader.h"
#include "util/paths.h"
#include "util/run_conventions.h"
#include "util/text_helpers.h"

namespace {

// Applies expand(token, marks, &resultMarks) to each token in order and appends the pieces its
// result splits into, with their marks where marks are kept (marks non-null); the arguments slot
// passes as it is, and no stage looks inside it.
template <typename Expand>
TokenList expandEach(const TokenList& tokens, const TokenList* marks, TokenList* resultMarks,
                     Expand expand) {
  TokenList result;
  const CountedString none;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const CountedString& token = tokens[i];
    if (isArgumentsSlot(token)) {
      result.append(token);
      if (resultMarks != nullptr) resultMarks->append(none);
      continue;
    }
    CountedString expandedMarks;
    CountedString expanded = expand(token, marks != nullptr ? (*marks)[i] : none,
                                    resultMarks != nullptr ? &expandedMarks : nullptr);
    if (isArgumentsSlot(expanded)) {
      result.append(std::move(expanded));
      if (resultMarks != nullptr) resultMarks->append(none);
      continue;
    }
    // An expansion may vanish, stay one token or become several; order is kept.
    result.appendAll(splitTokens(expanded, expandedMarks, resultMarks));
  }
  return result;
}

// An unset variable that is a whole token after the program adds no options: the idiom for
// options a user may set. As the program, or inside a path, it is a mistake.
void noteMacroFindings(const CountedString& token, bool isProgram, const MacroFindings& findings,
                       LaunchFileStages* stages) {
  if (isProgram || !isWholeTokenVariable(token)) {
    for (const CountedString& variable : findings.emptyVariables) {
      stages->warnings.append(emptyVariableWarning(variable, token));
    }
  }
  if (findings.unclosedPercent) stages->warnings.append(unclosedPercentWarning(token));
  if (findings.quotedMacro) stages->warnings.append(quotedMacroWarning(token));
  if (findings.usedArguments) stages->usesArguments = true;
}

// Windows: a program word that is relative only because the variable that starts it is unset or
// empty would be taken from wherever the user is: after a leading "\" the current drive, else the
// current folder. Quoted, the variable is left to cmd.exe, which keeps an unset one as literal
// text, a relative name. Empty when the word is safe.
CountedString unsetVariableRefusal(const CountedString& token, const CountedString& expanded,
                                   const MacroFindings& findings, const Environment& environment) {
  const bool quoted = token.byteAt(0) == '"';
  const int32_t open = quoted ? 1 : 0;
  if (open >= token.length() || token.byteAt(open) != '%') return CountedString();
  const int32_t close = token.findChar('%', open + 1);
  if (close < 0) return CountedString();
  const CountedString variable = token.substring(open + 1, close);
  if (quoted) {
    if (!environment.value(variable).empty()) return CountedString();
    return unsetProgramVariableMessage(variable, withoutQuotes(token), false);
  }
  bool unset = false;
  for (const CountedString& empty : findings.emptyVariables) {
    unset = unset || empty == token.substring(open, close + 1);
  }
  CountedString word = withoutQuotes(expanded);
  const int32_t blank = word.findChar(' ');
  if (blank >= 0) word = word.substring(0, blank);
  if (!unset || word.empty() || isBareName(word) || isAbsolute(word)) return CountedString();
  const bool drive = word.byteAt(0) == '\\' || word.byteAt(0) == '/';
  return unsetProgramVariableMessage(variable, word, drive);
}

// The name at the end of the build tools' idiom %JAVA_HOME%\bin\java, where JAVA_HOME cannot say
// where java is; else empty.
CountedString javaFromUnusableHome(const CountedString& token, const Environment& environment) {
  const CountedString bare = withoutQuotes(token);
  const CountedString variable = "%JAVA_HOME%";
  if (bare.length() < variable.length() + 5 ||
      !sameNoCase(bare.substring(0, variable.length()), variable.data()) ||
      !usableRuntimeHome(environment.value("JAVA_HOME")).empty()) {
    return CountedString();
  }
  const CountedString rest = bare.substring(variable.length(), bare.length());
  if (!isDirectorySeparator(rest.byteAt(0)) || !sameNoCase(rest.substring(1, 4), "bin") ||
      !isDirectorySeparator(rest.byteAt(4))) {
    return CountedString();
  }
  const CountedString name = rest.substring(5, rest.length());
  return javaProgramNamed(name).empty() ? CountedString() : name;
}

}  // namespace

bool buildLaunchFileCommand(const CountedString& launchFile, const ProcessFacts& facts,
                            LaunchFileStages* stages) {
  if (!readLaunchFile(launchFile, &stages->read)) return false;
  if (!stages->read.empty() && stages->read[0].find("\xEF\xBB\xBF") == 0) {
    stages->warnings.append(byteOrderMarkWarning(stages->read[0]));
  }
  // Only a line that the interpreter reads needs to know which of its bytes are data.
  const bool marking = runConventions().runsThroughInterpreter;
  TokenList expandedMarks, finalMarks;  // which bytes of each token are data
  bool first = true;
  // %* standing alone is not text to expand and split again: it keeps its place for the
  // arguments themselves.
  stages->expanded = expandEach(
      stages->read, nullptr, marking ? &expandedMarks : nullptr,
      [&](const CountedString& token, const CountedString&, CountedString* marks) {
        const bool isProgram = first;
        if (isWholeTokenArguments(token)) {
          first = false;
          stages->usesArguments = true;
          return argumentsSlot();
        }
        MacroFindings findings;
        CountedString expanded = expandMacros(token, facts, &findings, marks);
        if (isProgram) stages->javaFromHome = javaFromUnusableHome(token, facts.environment);
        // The idiom's unset JAVA_HOME is meant: java is searched for.
        if (!isProgram || stages->javaFromHome.empty()) {
          noteMacroFindings(token, isProgram, findings, stages);
        }
        // The program is the first token that does not vanish.
        first = first && withoutQuotes(expanded).empty();
        if (isProgram && marking && stages->refusal.empty() && stages->javaFromHome.empty()) {
          stages->refusal = unsetVariableRefusal(token, expanded, findings, facts.environment);
        }
        return expanded;
      });
  TokenList unmatched;
  stages->final = expandEach(
      stages->expanded, marking ? &expandedMarks : nullptr,
      marking ? &finalMarks : nullptr,
      [&](const CountedString& token, const CountedString& marks, CountedString* resultMarks) {
        return expandPathList(token, &unmatched, marks, resultMarks);
      });
  for (const CountedString& pattern : unmatched) {
    stages->warnings.append(unmatchedPatternWarning(pattern));
  }
  stages->form = launchFileForm(stages->final, marking ? &finalMarks : nullptr, facts);
  return true;
}
