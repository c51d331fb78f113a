// Launch-file mode as four stages: read and split, expand macros, expand path lists, assemble.
// Each stage's list is kept so that a tool can show what every stage made of the file.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

struct LaunchFileStages {
  TokenList read;      // the launch file's tokens as they stand
  TokenList expanded;  // after macros, each expansion split again
  TokenList final;     // after path lists and wildcards, each expansion split again
  CountedString commandLine;
};

/// Runs every stage on the launch file; false when it cannot be opened.
bool buildLaunchFileCommand(const CountedString& launchFile, LaunchFileStages* stages);

/// Applies expand to each token in order and appends the pieces its result splits into; the
/// arguments slot passes as it is.
TokenList expandEach(const TokenList& tokens, CountedString (*expand)(const CountedString&));

/// The program and its arguments where the launcher runs it itself (POSIX): the final tokens as
/// the launcher's own rule splits their assembled line, with the launcher's arguments, each
/// exactly, where a slot stands.
TokenList programArguments(const TokenList& finalTokens);
