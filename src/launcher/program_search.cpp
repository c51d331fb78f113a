#include "launcher/program_search.h"

#include "launcher/messages.h"
#include "platform/file_queries.h"
#include "platform/platform.h"
#include "util/case_rules.h"
#include "util/paths.h"
#include "util/text_helpers.h"

namespace {

// cmd.exe's own list when PATHEXT is unset.
constexpr const char kDefaultExtensions[] = ".COM;.EXE;.BAT;.CMD";

const char* const kInterpreterCommands[] = {
    "assoc", "break", "call", "cd", "chdir", "cls", "color", "copy", "date", "del", "dir",
    "echo", "endlocal", "erase", "exit", "for", "ftype", "goto", "if", "md", "mkdir", "mklink",
    "move", "path", "pause", "popd", "prompt", "pushd", "rd", "rem", "ren", "rename", "rmdir",
    "set", "setlocal", "shift", "start", "time", "title", "type", "ver", "verify", "vol"};

bool isCurrentFolder(const CountedString& directory) {
  return directory == "." || directory == ".\\" || directory == "./";
}

}  // namespace

CountedString programName(const CommandForm& form) {
  if (form.size() == 0 || form.kind(0) == PieceKind::kArguments) return CountedString();
  return withoutQuotes(form.text(0));
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
  for (const CountedString& extension : listElements(extensions, ';', false)) {
    candidates.append(name + extension);
  }
  return candidates;
}

namespace {

CountedString findCandidateAlongPath(const TokenList& candidates, const Environment& environment) {
  for (const CountedString& directory : searchPathDirectories(environment.value("PATH"))) {
    if (isCurrentFolder(directory)) continue;
    for (const CountedString& candidate : candidates) {
      CountedString path = joinPath(directory, candidate);
      if (pathExists(path)) return path;
    }
  }
  return CountedString();
}

}  // namespace

CountedString findAlongPath(const CountedString& name, const Environment& environment) {
  return findCandidateAlongPath(programCandidates(name, environment), environment);
}

CountedString findLikeExecvp(const CountedString& name, const Environment& environment) {
  CountedString path = environment.value("PATH");
  if (path.empty()) path = "/bin:/usr/bin";  // the C library's own default
  for (const CountedString& directory : listElements(path, ':', true)) {
    CountedString file = directory.empty() ? name : joinPath(directory, name);  // "": here
    if (pathExists(file)) return file;
  }
  return CountedString();
}

bool keepOutOfCurrentFolder(const Environment& environment, CommandForm* form,
                            CountedString* error) {
  CountedString name = programName(*form);
  if (name.empty() || !isBareName(name) || isInterpreterCommand(name)) return true;
  const TokenList candidates = programCandidates(name, environment);
  CountedString planted;
  for (const CountedString& candidate : candidates) {
    if (pathExists(candidate)) {  // relative: the current folder
      planted = candidate;
      break;
    }
  }
  if (planted.empty()) return true;  // cmd.exe finds what the launcher would
  CountedString found = findCandidateAlongPath(candidates, environment);
  if (found.empty()) {
    *error = programInCurrentFolderMessage(name, platformFullPath(planted));
    return false;
  }
  CountedString marks = allData(found);
  form->replace(0, PieceKind::kToken, std::move(found), std::move(marks));
  return true;
}
