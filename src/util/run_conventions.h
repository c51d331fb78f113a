// RunConventions: how the platform runs a command and treats names and patterns, chosen once at
// start-up beside the path style.
#pragma once

struct RunConventions {
  // Windows runs the final line through the command interpreter; POSIX splits it itself, puts
  // the user's arguments in exactly where %* stands alone, and replaces the launcher with the
  // program.
  bool runsThroughInterpreter;
  // The Windows C runtime reads backslashes before a quote as escapes: a token enclosed in quotes
  // gets the run of backslashes that ends it doubled.
  bool doublesTrailingBackslashes;
  // POSIX programs have no extension to drop: the launch file, the jar and the options variable
  // are named after the whole file name.
  bool usesWholeNames;
  // As a shell does, POSIX leaves a pattern that matches nothing as written, and with it the
  // rest of its list.
  bool keepsUnmatchedPatterns;

  bool passesArgumentsExactly() const { return !runsThroughInterpreter; }

  static RunConventions windows() { return {true, true, false, false}; }
  static RunConventions posix() { return {false, false, true, true}; }
};

/// Read-only after start-up; tests may switch it with setRunConventions.
const RunConventions& runConventions();
void setRunConventions(const RunConventions& conventions);
