// The launch plan: everything the launcher decides for one run, before anything runs, as a
// function of the facts of the run. The launcher runs its request; kestrelune-inspect prints its
// report as well.
#pragma once

#include <cstdint>

#include "launcher/java_search.h"
#include "launcher/line_limits.h"
#include "launcher/pipeline.h"
#include "launchfile/arguments_tail.h"
#include "platform/platform.h"
#include "platform/process_facts.h"
#include "util/counted_string.h"
#include "util/token_list.h"

enum class LaunchMode { kLaunchFile, kDefaultJar };

/// What the plan met on the way to its request: what kestrelune-inspect shows. Running needs none
/// of it.
struct LaunchReport {
  CountedString launcher;    // the executable path, as the facts give it
  CountedString launchFile;  // where the launch file is looked for
  ArgumentsTail tail;        // what %* and the default jar launch insert
  LaunchMode mode = LaunchMode::kDefaultJar;
  bool windowed = false;     // the windowed launcher, as the facts say

  bool opened = false;       // launch-file mode: the file could be read...
  LaunchFileStages stages;   // ...and what its stages made of it

  CountedString jarName;     // default jar launch
  TokenList candidates;      // the places searched, in order
  int found = -1;            // index of the candidate that exists, or -1
  CountedString optionsName;
  CountedString options;

  CountedString program;      // the program word of what runs (launchfile/command_line.h)
  JavaSearch java;            // where java came from, when the program word asked for it
  CountedString startReason;  // Windows: why the line goes through cmd.exe; empty when it does
                              // not
  // Where the line runs through the interpreter, in characters: what the interpreter gets after
  // /c, and its whole command line as the launcher is about to start it; else -1.
  int32_t interpreterLength = -1;
  int32_t wholeLength = -1;
  // Where the class path moved to CLASSPATH, how long the line after /c would have been; else -1.
  int32_t unmovedLength = -1;
};

struct LaunchPlan {
  bool runnable = false;  // false: nothing can run, and error says why
  CommandRequest request;  // what runs, and how on this platform, when runnable
  CountedString error;     // the one line for standard error, when not runnable
  int errorStatus = -1;    // and the status the run ends with
  LaunchReport report;
};

/// Decides the run that the facts describe: the mode once, then the launch file's stages or the
/// default jar search, then what runs, or the error that ends the run.
LaunchPlan planLaunch(const ProcessFacts& facts);

/// Runs the plan's command and returns its exit status, or writes the plan's error line and
/// returns its error status.
int runPlan(const LaunchPlan& plan);
