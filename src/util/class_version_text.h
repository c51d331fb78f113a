// Java's error for a class file newer than the running Java reads, turned into the Java a program
// needs: pure text, so that the native tests read it too.
#pragma once

#include "util/counted_string.h"

/// When errorOutput holds Java's class-version error, the words that follow the tool's name in
/// the sentence saying so: "needs Java 17 or later; the Java that ran (PROGRAM) is Java 8.", or
/// "... is older." where an old Java names only the version it needed. PROGRAM is programFile,
/// "java" when that is empty. Empty when no such error reads in full: a preview class file's, or
/// one whose numbers are no class file versions of a Java release.
CountedString javaTooOldWords(const CountedString& errorOutput, const CountedString& programFile);
