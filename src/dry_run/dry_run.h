// kestrelune-inspect: what the launcher would do for a given executable path and arguments,
// found by the launcher's own code (mode selection, the stages, the default jar search) without
// running anything.
#pragma once

#include <string>

#include "launcher/pipeline.h"
#include "util/counted_string.h"
#include "util/token_list.h"

/// Makes the queries answer as they would inside the launcher at launcherPath started with
/// argumentText, the raw text after its program name. The environment stays the caller's.
void describeRunOf(const CountedString& launcherPath, const CountedString& argumentText);

/// The raw text after the first argument of the tool's own command line: the launcher's
/// arguments exactly as typed, quotes and runs of blanks included. Uses up the tool's own
/// command line: call it once, before describeRunOf.
CountedString argumentsAfterLauncher();

enum class LaunchMode { kLaunchFile, kDefaultJar };

struct Inspection {
  CountedString launcher;    // the executable path, as modulePath answers
  CountedString launchFile;  // where the launch file is looked for
  CountedString tail;        // what %* and the default jar launch insert
  LaunchMode mode = LaunchMode::kDefaultJar;
  bool described = false;    // false: the launch file cannot be opened, or no jar was found

  LaunchFileStages stages;   // launch-file mode

  CountedString jarName;     // default jar launch
  TokenList candidates;
  int found = -1;            // index of the candidate that exists, or -1
  CountedString optionsName;
  bool optionsSet = false;
  CountedString options;

  CountedString commandLine;  // what would be run (when described)
};

/// Everything the launcher would decide for the run that describeRunOf set up, in its order.
Inspection inspectRun();

/// The report: one fact per line, every token on a line of its own between bars.
std::string formatInspection(const Inspection& inspection);

/// The one line for standard error when the run cannot be described; empty when it can.
std::string inspectionError(const Inspection& inspection);

/// A token between bars, with control bytes spelled out (<TAB>, <LF>, <CR>, <VT>, <FF>, <0x01>).
std::string visibleText(const CountedString& text);
