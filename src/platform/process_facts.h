// ProcessFacts: everything a launch plan reads about one run, taken from the running process once
// at start-up, or made by a tool or test that describes another run.
#pragma once

#include "platform/platform.h"
#include "util/counted_string.h"
#include "util/environment.h"
#include "util/token_list.h"

struct ProcessFacts {
  CountedString modulePath;   // the launcher's executable, in full
  CountedString commandLine;  // the raw command line, program name included
  // Empty, or one byte per byte of commandLine: non-zero where a character that the code page
  // cannot represent was replaced by its default character.
  CountedString replacedCharacters;
  TokenList arguments;  // the launcher's own arguments one by one, as the system handed them over
  Environment environment;
  // The windowed launcher (kestrelunew.exe): its program starts without a console window and with
  // the caller's usable standard handles, and a failing program's last error lines show in a
  // dialog.
  bool windowed = false;
  // Where Java runtimes are recorded, asked only when a search needs them: Windows the registry
  // (platformRecordedRuntimes), none elsewhere or when null.
  RecordedRuntimes (*recordedRuntimes)() = nullptr;
  // POSIX: the folder that holds the system's Java runtimes (/usr/lib/jvm); empty on Windows.
  CountedString runtimesFolder;
};

/// Chooses this platform's code page, path style and run conventions, then takes the facts of the
/// running process.
ProcessFacts takeProcessFacts(int argc, char** argv);
