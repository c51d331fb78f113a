// The launcher's spine: from the facts of the process to the exit status.
#pragma once

#include "util/counted_string.h"

/// Chooses the mode once (launch file beside the executable, or the default jar launch), runs
/// the one command and returns the exit status for the process.
int runLauncher();

/// Runs the command line through the command interpreter; its exit code, or -1 when no
/// interpreter can be started. Prints nothing of its own on Windows.
int runCommand(const CountedString& commandLine);
