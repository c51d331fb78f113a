// Where java comes from when a launch names it without a folder: along PATH, as the interpreter
// or execvp finds it, and only when PATH has none in the places users keep Java: JAVA_HOME,
// JDK_HOME, then the registry (Windows) or the system's runtimes and SDKMAN's (POSIX). No JVM is
// started to find one or to read its version.
#pragma once

#include "platform/process_facts.h"
#include "util/counted_string.h"
#include "util/environment.h"
#include "util/token_list.h"

struct JavaSearch {
  CountedString program;   // the runtime's program asked for: "java" or "javaw"; empty: none is
  CountedString file;      // the program found, in full; empty when none is
  CountedString source;    // where: "PATH", "JAVA_HOME", "registry: Zulu", ...
  CountedString version;   // what the runtime's release file records; empty without one
  bool alongPath = false;  // found as the name itself is found: the line need not change
  TokenList looked;        // none found: each place looked in, for the error line

  /// Asked for and found nowhere.
  bool missing() const { return !program.empty() && file.empty(); }
};

/// The runtime's program that a program word names alone, "java" or "javaw": on Windows either
/// in any case, with or without ".exe"; on POSIX "java". Empty for any other word.
CountedString javaProgramNamed(const CountedString& word);

/// Finds the program that word (a name alone, as javaProgramNamed reads it) names: along PATH
/// (on Windows never in the current folder or a relative entry); only when PATH has none, the
/// first runtime that holds it: JAVA_HOME, JDK_HOME, then on Windows the highest version the
/// registry records, on POSIX the system's default runtime, the highest version beside it, and
/// SDKMAN's current one. Environment and registry values that are empty or relative never count.
JavaSearch findJava(const CountedString& word, const ProcessFacts& facts);

/// What a runtime variable (JAVA_HOME, JDK_HOME) gives the search for program: empty when it
/// holds the program, else why not, as the error line says it ("JAVA_HOME is not set").
CountedString runtimeVariableState(const Environment& environment, const char* variable,
                                   const CountedString& program);
