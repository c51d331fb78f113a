// The mistakes a plan may hold that nothing else reports: a launch file that is UTF-16 text, a
// pattern that matches nothing or that changes an option, a class path split into one argument
// per match, an unset variable, an unclosed %, a %* or %@ in quotes, arguments with no %* to go
// to or a %* among java's own options, a byte-order mark, a program that is not found, named by a
// relative path or that is a batch file, a line too long for cmd.exe. Only kestrelune-inspect
// asks; the launcher never looks.
#pragma once

#include "launcher/launch_plan.h"
#include "util/environment.h"
#include "util/token_list.h"

/// One "warning: ..." line per finding, those of the launch file in its order; the program is
/// looked for in environment's PATH, as the interpreter or execvp would look.
TokenList planWarnings(const LaunchPlan& plan, const Environment& environment);
