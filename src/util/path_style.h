// PathStyle: how the platform spells paths and path lists, chosen once at start-up like the code
// page. How it runs programs and treats names and patterns is a record of its own
// (run_conventions.h).
#pragma once

struct PathStyle {
  char directorySeparator;  // '\\' or '/'
  char driveSeparator;      // ends a drive prefix in directoryOf; 0 when there is none
  char listSeparator;       // between the elements of a path list

  static PathStyle windows() { return {'\\', ':', ';'}; }
  static PathStyle posix() { return {'/', 0, ':'}; }
};

/// Read-only after start-up; tests may switch it with setPathStyle.
const PathStyle& pathStyle();
void setPathStyle(const PathStyle& style);
