// kestrelune-inspect: the launch plan that the launcher would carry out for a given executable
// path and arguments, printed without running anything.
#pragma once

#include <string>

#include "launcher/launch_plan.h"
#include "launchfile/arguments_tail.h"
#include "platform/process_facts.h"
#include "util/counted_string.h"
#include "util/environment.h"
#include "util/token_list.h"

/// The facts of the launcher at launcherPath started with argumentText (the raw text after its
/// program name, with its marks of replaced characters) and with arguments one by one (what a
/// POSIX launcher passes exactly), in environment; windowed when the file at launcherPath is the
/// windowed launcher.
ProcessFacts factsOfRun(const CountedString& launcherPath, const ArgumentsTail& argumentText,
                        const TokenList& arguments, const Environment& environment);
/// The same with the arguments split from argumentText by the launcher's own rule.
ProcessFacts factsOfRun(const CountedString& launcherPath, const CountedString& argumentText,
                        const Environment& environment);

/// The raw text after the first argument of the tool's own command line: the launcher's
/// arguments exactly as typed, quotes and runs of blanks included, with their marks.
ArgumentsTail argumentsAfterLauncher(const ProcessFacts& tool);

/// The report: one fact per line, every token on a line of its own between bars. The environment
/// is the run's, where the warnings look for the program.
std::string formatInspection(const LaunchPlan& plan, const Environment& environment);

/// The plan's error line, the launcher's own; empty when the plan can run, and when only java is
/// missing on this machine: the report's java line says so, and shows what runs where it is not.
std::string inspectionError(const LaunchPlan& plan);

/// A token between bars, shown as messages show names (<TAB>, <LF>, <0x01>, <BOM>).
std::string visibleText(const CountedString& text);
