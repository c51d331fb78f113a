#include "launcher/program_search.h"

#include "launcher/messages.h"
#include "launchfile/marked_text.h"
#include "platform/file_queries.h"
#include "platform/platform.h"
#include "util/code_page.h"
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

bool holdsData(const CommandForm& form) {
  for (size_t i = 0; i < form.size(); ++i) {
    if (!form.dataMarks(i).empty()) return true;
  }
  return false;
}

}  // namespace

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

bool isRelativePathEntry(const CountedString& entry) {
  const CountedString path = withoutQuotes(entry);
  if (path.length() < 3) return true;
  const bool unc = path.byteAt(0) == '\\' && path.byteAt(1) == '\\';
  const bool drive = path.byteAt(1) == ':' && (path.byteAt(2) == '\\' || path.byteAt(2) == '/');
  return !unc && !drive;
}

CountedString findCandidatesAlongPath(const TokenList& candidates, const Environment& environment) {
  for (const CountedString& entry : searchPathDirectories(environment.value("PATH"))) {
    if (isRelativePathEntry(entry)) continue;
    const CountedString directory = withoutQuotes(entry);  // cmd.exe reads quoted entries
    for (const CountedString& candidate : candidates) {
      CountedString path = joinPath(directory, candidate);
      if (pathExists(path)) return path;
    }
  }
  return CountedString();
}

namespace {

// A candidate where cmd.exe would look before PATH's own folders or among them, relative to where
// the user is: the current folder, and PATH's relative entries. Empty when there is none.
CountedString plantedCandidate(const TokenList& candidates, const Environment& environment) {
  for (const CountedString& candidate : candidates) {
    if (pathExists(candidate)) return candidate;
  }
  for (const CountedString& entry : searchPathDirectories(environment.value("PATH"))) {
    if (!isRelativePathEntry(entry)) continue;
    for (const CountedString& candidate : candidates) {
      CountedString path = joinPath(withoutQuotes(entry), candidate);
      if (pathExists(path)) return path;
    }
  }
  return CountedString();
}

// The program that start names: after its quoted title and its switches, of which /d, /node,
// /affinity and /machine take the next word. *titled tells whether a title came first. The piece
// is form.size() where start names none.
ProgramWord programOfStart(const CommandForm& form, size_t from, bool* titled) {
  *titled = false;
  for (size_t i = from; i < form.size(); ++i) {
    if (form.kind(i) != PieceKind::kToken) return programWord(form, i);  // cannot tell
    const CountedString bare = withoutQuotes(form.text(i));
    if (bare.empty()) continue;
    if (!*titled && holdsBlank(bare)) {  // enclosed on the line: the title
      *titled = true;
      continue;
    }
    if (bare.byteAt(0) != '/') return programWord(form, i);
    for (const char* takesValue : {"/d", "/node", "/affinity", "/machine"}) {
      if (sameNoCase(bare, takesValue)) ++i;
    }
  }
  ProgramWord none;
  none.piece = form.size();
  return none;
}

// The rule for one program word: a bare name with a candidate where the user is runs from PATH.
bool keepWordOutOfCurrentFolder(const Environment& environment, const ProgramWord& word,
                                bool titled, CommandForm* form, CountedString* error) {
  const CountedString& name = word.name;
  if (name.empty() || !isBareName(name) || isInterpreterCommand(name)) return true;
  const TokenList candidates = programCandidates(name, environment);
  const CountedString planted = plantedCandidate(candidates, environment);
  if (planted.empty()) return true;  // cmd.exe finds what the launcher would
  CountedString found = findCandidatesAlongPath(candidates, environment);
  if (found.empty()) {
    *error = programInCurrentFolderMessage(name, platformFullPath(planted));
    return false;
  }
  if (!titled && holdsBlank(found)) {  // start would take the quoted path for its title
    *error = startTitleMessage(found);
    return false;
  }
  replaceProgramWord(word, found, form);
  return true;
}

}  // namespace

void replaceProgramWord(const ProgramWord& word, const CountedString& file, CommandForm* form) {
  // Only the word changes: what the packager wrote around it stays.
  CountedString marks;
  const CountedString bare = withoutQuotes(form->text(word.piece), form->dataMarks(word.piece),
                                           &marks);
  MarkedWriter text(true);
  text.marked(bare.data(), marks, 0, word.start);
  text.data(file);
  text.marked(bare.data() + word.end, marks, word.end, bare.length() - word.end);
  CountedString textMarks;
  CountedString replaced = text.finish(&textMarks);
  form->replace(word.piece, PieceKind::kToken, std::move(replaced), std::move(textMarks));
}

bool keepOutOfCurrentFolder(const Environment& environment, CommandForm* form,
                            CountedString* error) {
  const ProgramWord first = programWord(*form);
  // call and start as words of their own: "@call" counts, "callx" does not.
  const bool wholeToken = first.piece < form->size() &&
                          first.end == withoutQuotes(form->text(first.piece)).length();
  if (wholeToken && sameNoCase(first.name, "start")) {
    bool titled = false;
    ProgramWord started = programOfStart(*form, first.piece + 1, &titled);
    if (started.piece == form->size()) return true;  // a new interpreter: COMSPEC itself
    if (started.name.empty()) {
      *error = unknownProgramMessage("start");
      return false;
    }
    return keepWordOutOfCurrentFolder(environment, started, titled, form, error);
  }
  if (wholeToken && sameNoCase(first.name, "call")) {
    ProgramWord called = programWord(*form, first.piece + 1);
    if (called.name.empty() || called.name.byteAt(0) == ':') {
      *error = unknownProgramMessage("call");
      return false;
    }
    if (!keepWordOutOfCurrentFolder(environment, called, true, form, error)) return false;
    if (!holdsData(*form)) return true;
    called = programWord(*form, first.piece + 1);
    // call reads the line a second time, undoing the escapes of data; for a program file it
    // changes nothing else, so it goes.
    const CountedString file = programFileOf(called.name, environment);
    if (!endsWithNoCase(file, ".exe") && !endsWithNoCase(file, ".com")) {
      *error = callWithDataMessage(called.name);
      return false;
    }
    form->replace(first.piece, PieceKind::kGlued, CountedString(), CountedString());
    return true;
  }
  return keepWordOutOfCurrentFolder(environment, first, true, form, error);
}

CountedString findAlongPath(const CountedString& name, const Environment& environment) {
  return findCandidatesAlongPath(programCandidates(name, environment), environment);
}

CountedString programFileOf(const CountedString& name, const Environment& environment) {
  if (isBareName(name)) return findAlongPath(name, environment);
  for (const CountedString& candidate : programCandidates(name, environment)) {
    if (pathExists(candidate)) return candidate;
  }
  return CountedString();
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
