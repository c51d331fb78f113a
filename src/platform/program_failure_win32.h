// The windowed launcher's dialog for a program that failed: its status and the last lines of its
// error output. Only code for Windows lives here.
#pragma once

#include "platform/standard_handles_win32.h"
#include "util/counted_string.h"

/// The interpreter ended with status. When that is not 0 and its error output was captured and
/// not empty, one dialog shows the status and the last lines of that output, under a sentence
/// naming programFile when those lines say the Java that ran is too old.
void reportProgramFailure(InterpreterStreams* streams, int status,
                          const CountedString& programFile);
