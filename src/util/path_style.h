// PathStyle: the separators of the platform's paths, set once at start-up like the code page.
#pragma once

struct PathStyle {
  char directorySeparator;  // '\\' or '/'
  char driveSeparator;      // ends a drive prefix in directoryOf; 0 when there is none
  char listSeparator;       // between the elements of a path list
  bool doublesTrailingBackslashes;  // when a final token is enclosed in quotes

  static PathStyle windows() { return {'\\', ':', ';', true}; }
  static PathStyle posix() { return {'/', 0, ':', false}; }
};

/// Read-only after start-up; tests may switch it with setPathStyle.
const PathStyle& pathStyle();
void setPathStyle(const PathStyle& style);
