#include "launcher/program_search.h"

#include "launcher/messages.h"
#include "util/case_rules.h"
#include "util/paths.h"
#include "util/platform.h"

namespace {

// cmd.exe's own list when PATHEXT is unset.
constexpr const char kDefaultExtensions[] = ".COM;.EXE;.BAT;.CMD";

const char* const kInterpreterCommands[] = {
    "assoc", "break", "call", "cd", "chdir", "cls", "color", "copy", "date", "del", "dir",
    "echo", "endlocal", "erase", "exit", "for", "ftype", "goto", "if", "md", "mkdir", "mklink",
    "move", "path", "pause", "popd", "prompt", "pushd", "rd", "rem", "ren", "rename", "rmdir",
    "set", "setlocal", "shift", "start", "time", "title", "type", "ver", "verify", "vol"};

bool sameNoCase(const CountedString& a, const char* b) {
  CountedString other(b);
  return a.length() == other.length() && mbCompareNoCase(a.data(), other.data(), a.length());
}

bool isCurrentFolder(const CountedString& directory) {
  return directory == "." || directory == ".\\" || directory == "./";
}

}  // namespace

CountedString programName(const CommandForm& form) {
  if (form.size() == 0 || form.kind(0) == PieceKind::kArguments) return CountedString();
  return form.text(0).replaceAll("\"", CountedString());
}

bool isBareName(const CountedString& name) {
  return name.findChar('\\') < 0 && name.findChar('/') < 0 && name.findChar(':') < 0;
}

bool isInterpreterCommand(const CountedString& name) {
  for (const char* command : kInterpreterCommands) {
    if (sameNoCase(name, command)) return true;
  }
  return false;
}

TokenList programCandidates(const CountedString& name, const Environment& environment) {
  TokenList candidates;
  if (name.findChar('.') >= 0) candidates.append(name);
  CountedString extensions = environment.value("PATHEXT");
  if (extensions.empty()) extensions = kDefaultExtensions;
  for (int32_t start = 0; start < extensions.length();) {  // ";" between, as in PATH
    int32_t end = extensions.findChar(';', start);
    if (end < 0) end = extensions.length();
    if (end > start) candidates.append(name + extensions.substring(start, end));
    start = end + 1;
  }
  return candidates;
}

CountedString findAlongPath(const CountedString& name, const Environment& environment) {
  TokenList candidates = programCandidates(name, environment);
  for (const CountedString& directory : searchPathDirectories(environment.value("PATH"))) {
    if (isCurrentFolder(directory)) continue;
    for (const CountedString& candidate : candidates) {
      CountedString path = joinPath(directory, candidate);
      if (pathExists(path)) return path;
    }
  }
  return CountedString();
}

CountedString findLikeExecvp(const CountedString& name, const Environment& environment) {
  CountedString path = environment.value("PATH");
  if (path.empty()) path = "/bin:/usr/bin";  // the C library's own default
  for (int32_t start = 0; start <= path.length();) {
    int32_t end = path.findChar(':', start);
    if (end < 0) end = path.length();
    CountedString file = end > start ? joinPath(path.substring(start, end), name) : name;
    if (pathExists(file)) return file;
    start = end + 1;
  }
  return CountedString();
}

bool keepOutOfCurrentFolder(const Environment& environment, CommandForm* form,
                            CountedString* error) {
  CountedString name = programName(*form);
  if (name.empty() || !isBareName(name) || isInterpreterCommand(name)) return true;
  CountedString planted;
  for (const CountedString& candidate : programCandidates(name, environment)) {
    if (pathExists(candidate)) {  // relative: the current folder
      planted = candidate;
      break;
    }
  }
  if (planted.empty()) return true;  // cmd.exe finds what the launcher would
  CountedString found = findAlongPath(name, environment);
  if (found.empty()) {
    *error = programInCurrentFolderMessage(name, platformFullPath(planted));
    return false;
  }
  CountedString marks = allData(found);
  form->replace(0, PieceKind::kToken, std::move(found), std::move(marks));
  return true;
}
