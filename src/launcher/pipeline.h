// Launch-file mode as four stages: read and split, expand macros, expand path lists, assemble.
// Each stage's list is kept, with what the stages met on the way, so that a tool can show what
// every stage made of the file.
#pragma once

#include <vector>

#include "launchfile/command_line.h"
#include "launchfile/macros.h"
#include "util/process_facts.h"
#include "util/token_list.h"

struct LaunchFileStages {
  TokenList read;      // the launch file's tokens as they stand
  TokenList expanded;  // after macros, each expansion split again
  TokenList final;     // after path lists and wildcards, each expansion split again
  CommandForm form;    // what runs

  std::vector<MacroFindings> macroFindings;  // one per token read, in order
  TokenList unmatchedPatterns;               // patterns that matched nothing, in order
};

/// Runs every stage on the launch file with the facts of the run; false when it cannot be opened.
bool buildLaunchFileCommand(const CountedString& launchFile, const ProcessFacts& facts,
                            LaunchFileStages* stages);
