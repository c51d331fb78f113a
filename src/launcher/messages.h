// Every line the launcher and the inspect tool write on their own, spelled once.
#pragma once

#include "util/counted_string.h"

/// name as a message shows it: bytes below 0x20 and 0x7F escaped (\t, \n, \r, else \xHH), so
/// that a name from a launch file can never break the line or drive the terminal.
CountedString visibleName(const CountedString& name);

/// "error: cannot open LAUNCH-FILE"
CountedString cannotOpenMessage(const CountedString& launchFile);
/// "error: JAR not found."
CountedString jarNotFoundMessage(const CountedString& jarName);
/// "error: cannot run PROGRAM: REASON"
CountedString cannotRunMessage(const CountedString& program, const CountedString& reason);

/// "error: the command line is N characters long; Windows accepts at most LIMIT"
CountedString lineTooLongMessage(int32_t characters, int32_t limit);
/// "warning: the command line is N characters long; cmd.exe runs at most LIMIT"
CountedString lineTooLongForInterpreterWarning(int32_t characters, int32_t limit);

/// Writes the message and a line feed on the standard error stream.
void printError(const CountedString& message);
