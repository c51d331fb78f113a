// The seven queries through which the launcher learns its situation: its executable, its launch
// file, directory and base name of a path, existence, the environment, and its raw arguments.
#pragma once

#include "util/counted_string.h"
#include "util/token_list.h"

/// The extension that names the launch file beside the executable.
constexpr const char kLaunchFileExtension[] = ".kestrelune";

/// Takes the facts of the running process once, before the launcher's own code runs: path style,
/// code page, executable path, raw command line, environment.
void initProcessContext(int argc, char** argv);

// What the queries answer from; set at start-up, or by tests and tools that describe another run.
void setModulePath(const CountedString& path);
/// replaced is empty, or holds one byte per byte of the line: non-zero where a character that the
/// code page cannot represent was replaced by its default character.
void setCommandLine(const CountedString& rawCommandLine,
                    const CountedString& replaced = CountedString());
/// The launcher's own arguments one by one, as the system handed them over (POSIX).
void setLauncherArguments(const TokenList& arguments);
/// Entries are "NAME=value"; those whose first byte is "=" are left out.
void setEnvironmentTable(const TokenList& entries);

/// Full path of the launcher's executable.
CountedString modulePath();
/// The executable path with the extension of its last component replaced by the launch-file
/// extension (appended when it has none, and always where names are used whole).
CountedString launchFilePath(const CountedString& executablePath);
/// Up to and including the last directory separator, failing that the last drive separator;
/// empty when there is neither.
CountedString directoryOf(const CountedString& path);
/// The last component without its last extension.
CountedString baseNameOf(const CountedString& path);
/// True for an existing file, directory or other object; false for the empty path.
bool pathExists(const CountedString& path);
/// The value of the first variable whose name matches without regard to case; empty when unset.
CountedString environmentValue(const CountedString& name);
/// The raw command line after the program name and the whitespace that follows it.
CountedString commandLineTail();
/// The tail for %*: each run of characters that the code page could not represent and that
/// stands outside quotes (a double quote toggles) is enclosed in a pair of quotes, so that its
/// default characters are never a wildcard; the program still receives the same bytes.
CountedString shieldedCommandLineTail();
/// The marks of replaced characters for the tail, byte by byte; empty when there are none.
CountedString replacedInCommandLineTail();
/// The words of the tail (blanks and tabs separate outside quotes) that hold such a character.
TokenList unrepresentedArguments();
/// The launcher's own arguments one by one, exactly as the system handed them over: what a
/// whole-token %* passes where the style passes arguments exactly.
const TokenList& launcherArguments();
