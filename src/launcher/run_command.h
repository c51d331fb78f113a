// Running the final command line: through the command interpreter (Windows), or as the program
// itself with the line split by the launcher's own rule (POSIX).
#pragma once

#include "util/counted_string.h"
#include "util/platform.h"

/// The interpreters to try for line, each with the command line it is given: the COMSPEC value
/// when set, then defaultName in the current directory, then in each directory of path. cmd /c
/// strips the first and last quote of a line that starts with one, so the line gets a pair of
/// its own (unless it is empty).
void addInterpreters(const CountedString& line, const CountedString& comspec,
                     const CountedString& defaultName, const CountedString& path,
                     CommandRequest* request);

/// What running commandLine takes on this platform, from the environment as it stands: the
/// interpreters to try (Windows), or programArguments (POSIX).
CommandRequest commandRequest(const CountedString& commandLine, TokenList programArguments);

/// Runs the request: the interpreter's exit code, or -1 when none can start (Windows); on POSIX
/// returns only when the program cannot start: 127, after one line on standard error. An empty
/// POSIX request runs nothing and gives 0.
int runCommand(const CommandRequest& request);
