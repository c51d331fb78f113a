// kestrelune-inspect: the launch plan that the launcher would carry out for a given executable
// path and arguments, printed without running anything.
#pragma once

#include <string>

#include "launcher/launch_plan.h"
#include "util/counted_string.h"
#include "util/token_list.h"

/// Makes the queries answer as they would inside the launcher at launcherPath started with
/// argumentText, the raw text after its program name, and with arguments one by one (what a
/// POSIX launcher passes exactly). The environment stays the caller's.
void describeRunOf(const CountedString& launcherPath, const CountedString& argumentText,
                   const TokenList& arguments);
/// The same with the arguments split from argumentText by the launcher's own rule.
void describeRunOf(const CountedString& launcherPath, const CountedString& argumentText);

/// The raw text after the first argument of the tool's own command line: the launcher's
/// arguments exactly as typed, quotes and runs of blanks included. Uses up the tool's own
/// command line: call it once, before describeRunOf.
CountedString argumentsAfterLauncher();

/// The report: one fact per line, every token on a line of its own between bars.
std::string formatInspection(const LaunchPlan& plan);

/// The plan's error line, the launcher's own; empty when the plan can run.
std::string inspectionError(const LaunchPlan& plan);

/// A token between bars, with control bytes spelled out (<TAB>, <LF>, <CR>, <VT>, <FF>, <0x01>).
std::string visibleText(const CountedString& text);
