// Running the final command: through the command interpreter (Windows), or as the program itself
// (POSIX).
#pragma once

#include <cstdint>

#include "launcher/interpreter_escape.h"
#include "platform/platform.h"
#include "util/counted_string.h"
#include "util/environment.h"

/// True when COMSPEC names an interpreter other than cmd.exe and the request's line holds data:
/// the line then runs with the system's cmd.exe alone.
bool passesOverComspec(const CountedString& comspec, const CommandRequest& request);

/// The interpreters to try for the request's line, each with the command line it is given: the
/// COMSPEC value when set, then the system's own. cmd.exe gets its switches and the line escaped
/// for it (interpreter_escape.h); another interpreter gets /c and the line as it stands, and only
/// when the line holds no data (passesOverComspec). cmd /c strips the first and last quote of a
/// line that starts with one, so the line gets a pair of its own (unless it is empty). Each start
/// knows where the line begins in its command line. Returns -1, or the offset in the line of data that cmd.exe cannot be given
/// (escapeForInterpreter: a line break, or a broken character): then no interpreter is added.
int32_t addInterpreters(const CountedString& comspec, const CountedString& systemInterpreter,
                        CommandRequest* request, EscapeRefusal* why = nullptr);

/// Completes the request for this platform from the environment of the run (Windows): the answers
/// to console events, and the program word started directly where cmd.exe has nothing to do
/// (direct_start.h; alongPath as there), else the interpreters to try, with the reason in
/// *startReason. Returns what addInterpreters returns, with the refusal's reason in *why, or -1.
int32_t completeRequest(const Environment& environment, const CountedString& program,
                        const CountedString& alongPath, CommandRequest* request,
                        CountedString* startReason, EscapeRefusal* why);

/// Runs the request: the program's or interpreter's exit code, or -1 when nothing can start
/// (Windows), after one line on standard error where the program itself could not; on POSIX
/// returns only when the program cannot start: 127, after one line on standard error. An empty
/// POSIX request runs nothing and gives 0.
int runCommand(const CommandRequest& request);
