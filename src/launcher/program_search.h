// Where a program named on the line is found, as cmd.exe (or on POSIX execvp) finds it, and the
// rule that keeps the user's current folder out of it: a folder a document was opened from is no
// place for a program the packager did not name.
#pragma once

#include "launchfile/command_line.h"
#include "util/counted_string.h"
#include "util/environment.h"
#include "util/token_list.h"

/// True for the interpreter's own commands (start, echo, ...), which no file stands for.
bool isInterpreterCommand(const CountedString& name);

/// The files that stand for name: name itself when it has an extension, then name with each
/// extension of PATHEXT (cmd.exe's own list when unset), in order.
TokenList programCandidates(const CountedString& name, const Environment& environment);

/// True for a PATH entry that cmd.exe reads against the current folder or drive: anything but
/// "X:\..." and "\\..." once its quotes are gone.
bool isRelativePathEntry(const CountedString& entry);

/// The first candidate in the first directory of PATH that holds one, joined; the current folder
/// and relative entries are never searched. Empty when none is found.
CountedString findCandidatesAlongPath(const TokenList& candidates, const Environment& environment);
/// The same for the candidates of name.
CountedString findAlongPath(const CountedString& name, const Environment& environment);

/// Windows: the file that runs for a program word, where the launcher can tell: along PATH for a
/// bare name, else the first candidate that exists. Empty when none does.
CountedString programFileOf(const CountedString& name, const Environment& environment);

/// POSIX: where execvp finds a program named without a folder: in the first directory of PATH
/// that holds it, an empty entry standing for the current folder ("/bin:/usr/bin" when PATH is
/// unset or empty). Empty when none does.
CountedString findLikeExecvp(const CountedString& name, const Environment& environment);

/// Puts file, data, in the place of the program word in its piece of the form: what the packager
/// wrote around the word stays.
void replaceProgramWord(const ProgramWord& word, const CountedString& file, CommandForm* form);

/// Windows: a program named without a folder that the current folder, or a relative PATH entry,
/// holds a candidate for is found along PATH by the launcher itself, and its full path, data,
/// takes the name's place. The program is the line's first word, or the one that call or start
/// names; where the line holds data, a call that starts a program file goes (call would read the
/// data a second time). False, with the one error line, when PATH has none or the launcher
/// cannot tell which program runs. Nothing changes otherwise.
bool keepOutOfCurrentFolder(const Environment& environment, CommandForm* form,
                            CountedString* error);
