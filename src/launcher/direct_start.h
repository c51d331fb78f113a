// Windows: whether the final line can start its program without cmd.exe. Only a line in which
// cmd.exe has nothing to do qualifies: then the program reads the same arguments from the same
// line, with no interpreter between the user's data and the program, and one process fewer.
#pragma once

#include "util/counted_string.h"
#include "util/environment.h"

struct DirectStart {
  CountedString program;      // the file to start; empty when cmd.exe runs the line
  CountedString commandLine;  // the line as cmd.exe would hand it over: from the program word on
  CountedString reason;       // why cmd.exe runs it, as inspect shows it
};

/// The start of line (dataMarks: which bytes are data) whose program word is programName: its
/// program file when the launch file's own text holds none of cmd.exe's syntax (& | < > ( ) ^ %,
/// a line break, a leading @), the word is a program and not one of cmd.exe's commands, and it
/// resolves, never from the current folder or a relative PATH entry, to a regular .exe or .com
/// file; else the first reason it does not. alongPath, when not empty, is the file already found
/// along PATH for a program name alone: PATH is not searched again.
DirectStart directStart(const CountedString& line, const CountedString& dataMarks,
                        const CountedString& programName, const Environment& environment,
                        const CountedString& alongPath = CountedString());
