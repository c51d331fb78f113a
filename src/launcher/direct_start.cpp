#include "launcher/direct_start.h"

#include "launcher/messages.h"
#include "launcher/program_search.h"
#include "launchfile/marked_text.h"
#include "platform/file_queries.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/text_helpers.h"

namespace {

bool isInterpreterSyntax(unsigned char byte) {
  switch (byte) {
    case '&': case '|': case '<': case '>': case '(': case ')': case '^': case '%':
    case '\r': case '\n':
      return true;
    default:
      return false;
  }
}

// The first byte of the launch file's own text that cmd.exe could act on, or -1. Data never
// counts: cmd.exe is made transparent to it, and started directly it means nothing at all.
int32_t interpreterSyntaxAt(const CountedString& line, const CountedString& dataMarks) {
  int32_t first = 0;
  while (first < line.length() && (line.byteAt(first) == ' ' || line.byteAt(first) == '"')) {
    ++first;
  }
  if (first < line.length() && line.byteAt(first) == '@' && !isDataAt(dataMarks, first)) {
    return first;  // @ before a command is cmd.exe's own, quoted or not
  }
  for (int32_t i = 0; i < line.length(); i += mbCharLength(line.data() + i)) {
    if (!isDataAt(dataMarks, i) && isInterpreterSyntax(line.byteAt(i))) return i;
  }
  return -1;
}

// One of cmd.exe's own commands, alone or followed by what cmd.exe reads as its end ("echo.",
// "cd\", "dir/w").
bool namesInterpreterCommand(const CountedString& word) {
  if (sameNoCase(word, "cmd") || isInterpreterCommand(word)) return true;
  for (int32_t end = 1; end < word.length(); ++end) {
    const unsigned char next = word.byteAt(end);
    if (next != '.' && next != '/' && next != '\\' && next != '(' && next != ':') continue;
    if (isInterpreterCommand(word.substring(0, end))) return true;
  }
  return false;
}

// The files cmd.exe tries for word: word itself when its last component has an extension, else
// word with each extension of PATHEXT.
TokenList candidatesOf(const CountedString& word, const Environment& environment) {
  const int32_t slash = mbFindLastChar(word.data(), '\\');
  if (word.findChar('.', slash + 1) >= 0) return TokenList{word};
  TokenList candidates;
  for (const CountedString& candidate : programCandidates(word, environment)) {
    if (candidate != word) candidates.append(candidate);
  }
  return candidates;
}

// Where cmd.exe would find the word: along PATH for a bare name, else the path as written. The
// current folder never counts; a relative path is left to cmd.exe.
CountedString resolve(const CountedString& word, const Environment& environment,
                      const CountedString& alongPath, CountedString* reason) {
  if (isBareName(word) && !alongPath.empty()) return alongPath;
  const TokenList candidates = candidatesOf(word, environment);
  if (isBareName(word)) {
    CountedString file = findCandidatesAlongPath(candidates, environment);
    if (file.empty()) *reason = directStartReason("the program", word, "is not found along PATH");
    return file;
  }
  if (!isAbsolute(word)) {
    *reason = directStartReason("the program", word, "is named by a relative path");
    return CountedString();
  }
  for (const CountedString& candidate : candidates) {
    if (pathExists(candidate)) return candidate;
  }
  *reason = directStartReason("the program", word, "is not found");
  return CountedString();
}

}  // namespace

DirectStart directStart(const CountedString& line, const CountedString& dataMarks,
                        const CountedString& programName, const Environment& environment,
                        const CountedString& alongPath) {
  DirectStart start;
  const int32_t syntax = interpreterSyntaxAt(line, dataMarks);
  if (syntax >= 0) {
    start.reason = syntaxReason(line.substring(syntax, syntax + 1), syntax + 1);
    return start;
  }
  const CountedString& word = programName;
  const unsigned char last = word.empty() ? 0 : word.byteAt(word.length() - 1);
  if (word.empty() || word.findChar('/') >= 0 || last == '.' || last == ' ') {
    start.reason = directStartReason("the program word", word, "is no program name");
    return start;
  }
  if (namesInterpreterCommand(word)) {
    start.reason = directStartReason("", word, "is cmd.exe's own command");
    return start;
  }
  CountedString file = resolve(word, environment, alongPath, &start.reason);
  if (file.empty()) return start;
  if (!endsWithNoCase(file, ".exe") && !endsWithNoCase(file, ".com")) {
    start.reason = directStartReason("the program", file, "is no .exe or .com");
    return start;
  }
  if (!isRegularFile(file)) {
    start.reason = directStartReason("the program", file, "is not a regular file");
    return start;
  }
  start.program = std::move(file);
  // cmd.exe hands the program its line from the command word on: the blanks and delimiters
  // before it are gone.
  int32_t first = 0;
  while (first < line.length() && !isDataAt(dataMarks, first) &&
         (line.byteAt(first) == ' ' || line.byteAt(first) == '\t' ||
          isCommandDelimiter(line.byteAt(first)))) {
    ++first;
  }
  start.commandLine = line.substring(first, line.length());
  return start;
}
