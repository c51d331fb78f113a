// The mistakes a plan may hold that nothing else reports: a pattern that matches nothing, an
// unset variable, an unclosed %, a byte-order mark, a line too long for cmd.exe, a program named
// by a relative path or that is a batch file. Only kestrelune-inspect asks; the launcher never
// looks.
#pragma once

#include "launcher/launch_plan.h"
#include "util/environment.h"
#include "util/token_list.h"

/// One "warning: ..." line per finding, in the order of the launch file; the program is looked
/// for in environment's PATH.
TokenList planWarnings(const LaunchPlan& plan, const Environment& environment);
