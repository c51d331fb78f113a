// The second stage of the launch-file pipeline: the % macros of one token (the launcher's
// arguments, its own directory, environment variables), expanded in a single pass.
#pragma once

#include "platform/process_facts.h"
#include "util/counted_string.h"
#include "util/token_list.h"

/// What expanding a token met that a packager may not have meant; the expansion is the same.
struct MacroFindings {
  TokenList emptyVariables;     // each %NAME% whose variable is unset or empty, as written
  bool unclosedPercent = false; // a % that opens a variable name and is never closed
  bool usedArguments = false;   // a %* was expanded
  bool quotedMacro = false;     // a %* or %@ inside the token's quotes, which stays as written
};

/// The token with its macros expanded from the facts of the run; may be empty, and is meant to
/// be re-split with splitTokens. A token of the form %NAME% is the variable's value, quoted only
/// when it names an existing path; elsewhere %NAME% and %@ are always quoted, %* is the user's
/// arguments as text (the shielded tail), %% is one %, and a % without a partner stays with the
/// rest of the token. Nothing inside the token's own double quotes is expanded. What the
/// expansion met is noted in findings, when given; marks, when given, receives the marks of the
/// result (marked_text.h): the arguments and the folder of %* and %@ are data.
CountedString expandMacros(const CountedString& token, const ProcessFacts& facts,
                           MacroFindings* findings = nullptr, CountedString* marks = nullptr);

/// Where the launcher's arguments go, each as one argument exactly: what %* written as a whole
/// token becomes where the style passes arguments exactly. One zero byte, which no token read
/// from a launch file can hold; the later stages pass it on untouched.
CountedString argumentsSlot();
bool isArgumentsSlot(const CountedString& token);

/// %NAME% and nothing else: a token that is one variable's value.
bool isWholeTokenVariable(const CountedString& token);

/// %* written as a whole token, which becomes the arguments slot where the style passes
/// arguments exactly.
bool isWholeTokenArguments(const CountedString& token);
