// PathStyle: the separators of the platform's paths and the conventions that go with them, set
// once at start-up like the code page.
#pragma once

struct PathStyle {
  char directorySeparator;  // '\\' or '/'
  char driveSeparator;      // ends a drive prefix in directoryOf; 0 when there is none
  char listSeparator;       // between the elements of a path list
  bool doublesTrailingBackslashes;  // when a final token is enclosed in quotes
  // Windows runs the final line through the command interpreter; POSIX splits it itself, puts
  // the user's arguments in exactly where %* stands alone, and replaces the launcher with the
  // program.
  bool runsThroughInterpreter;
  // POSIX programs have no extension to drop: the launch file, the jar and the options variable
  // are named after the whole file name.
  bool usesWholeNames;
  // As a shell does, POSIX leaves a pattern that matches nothing as written, and with it the
  // rest of its list.
  bool keepsUnmatchedPatterns;

  bool passesArgumentsExactly() const { return !runsThroughInterpreter; }

  static PathStyle windows() { return {'\\', ':', ';', true, true, false, false}; }
  static PathStyle posix() { return {'/', 0, ':', false, false, true, true}; }
};

/// Read-only after start-up; tests may switch it with setPathStyle.
const PathStyle& pathStyle();
void setPathStyle(const PathStyle& style);
