// PathStyle: the separators of the platform's paths and the conventions that go with them, set
// once at start-up like the code page.
#pragma once

struct PathStyle {
  char directorySeparator;  // '\\' or '/'
  char driveSeparator;      // ends a drive prefix in directoryOf; 0 when there is none
  char listSeparator;       // between the elements of a path list
  bool doublesTrailingBackslashes;  // when a final token is enclosed in quotes
  // Windows runs the final line through the command interpreter; POSIX splits it itself and
  // replaces the launcher with the program.
  bool runsThroughInterpreter;

  static PathStyle windows() { return {'\\', ':', ';', true, true}; }
  static PathStyle posix() { return {'/', 0, ':', false, false}; }
};

/// Read-only after start-up; tests may switch it with setPathStyle.
const PathStyle& pathStyle();
void setPathStyle(const PathStyle& style);
