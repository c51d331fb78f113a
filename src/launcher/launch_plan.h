// The launch plan: everything the launcher decides for one run, before anything runs. The
// launcher carries it out; kestrelune-inspect prints it.
#pragma once

#include "launcher/pipeline.h"
#include "util/counted_string.h"
#include "util/platform.h"
#include "util/token_list.h"

/// The most characters CreateProcess takes in a command line (measured under Wine: 32,767 fails).
constexpr int32_t kWindowsLineLimit = 32766;
/// The most characters cmd.exe runs after /c.
constexpr int32_t kInterpreterLineLimit = 8191;

enum class LaunchMode { kLaunchFile, kDefaultJar };

struct LaunchPlan {
  CountedString launcher;    // the executable path, as modulePath answers
  CountedString launchFile;  // where the launch file is looked for
  CountedString tail;        // what %* and the default jar launch insert
  LaunchMode mode = LaunchMode::kDefaultJar;

  bool opened = false;       // launch-file mode: the file could be read...
  LaunchFileStages stages;   // ...and what its stages made of it

  CountedString jarName;     // default jar launch
  TokenList candidates;      // the places searched, in order
  int found = -1;            // index of the candidate that exists, or -1
  CountedString optionsName;
  CountedString options;

  bool described = false;      // false: nothing can run, and error says why
  CountedString commandLine;   // what runs, when described
  CommandRequest request;      // how it runs on this platform
  CountedString error;         // the one line for standard error, when not described
  int errorStatus = -1;        // the launcher's exit status with that error

  // Where the line runs through the interpreter, in characters: what the interpreter gets after
  // /c, and its whole command line as the launcher is about to start it; else -1.
  int32_t interpreterLength = -1;
  int32_t wholeLength = -1;
  TokenList warnings;  // "warning: ..." lines for inspect; the launcher prints none
};

/// Decides the run for the launcher and arguments that the process queries describe (paths.h):
/// the mode once, then the launch file's stages or the default jar search, then the command
/// line, or the error that ends the run.
LaunchPlan planLaunch();

/// Runs the plan's command and returns its exit status, or writes the plan's error line and
/// returns its status.
int carryOut(const LaunchPlan& plan);
