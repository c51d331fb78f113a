// Launch-file mode as four stages: read and split, expand macros, expand path lists, assemble.
// Each stage's list is kept, with what the stages met on the way, so that a tool can show what
// every stage made of the file.
#pragma once

#include "launchfile/command_line.h"
#include "launchfile/macros.h"
#include "platform/process_facts.h"
#include "util/token_list.h"

struct LaunchFileStages {
  TokenList read;      // the launch file's tokens as they stand
  TokenList expanded;  // after macros, each expansion split again
  TokenList final;     // after path lists and wildcards, each expansion split again
  CommandForm form;    // what runs

  // What the stages met that a packager may not have meant, one "warning: " line each in the
  // order of the file: a byte-order mark, unset variables (but not one that is a whole token
  // after the program: the idiom for options a user may set), an unclosed %, a %* or %@ in
  // quotes, then patterns that matched nothing. The run is the same; only kestrelune-inspect
  // shows them.
  TokenList warnings;
  bool usesArguments = false;  // a %* puts the user's arguments somewhere
  // Not empty when the launch file's program cannot run as written: the one error line.
  CountedString refusal;
  // The program's name when the program word is %JAVA_HOME%\bin\java (or javaw, java.exe...) and
  // JAVA_HOME is unset or no absolute path: then java is searched for as if named alone.
  CountedString javaFromHome;
};

/// Runs every stage on the launch file with the facts of the run; false when it cannot be opened.
bool buildLaunchFileCommand(const CountedString& launchFile, const ProcessFacts& facts,
                            LaunchFileStages* stages);
