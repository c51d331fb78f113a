// Every line the launcher and the inspect tool write on their own, spelled once.
#pragma once

#include <cstdint>

#include "util/counted_string.h"
#include "util/token_list.h"

/// name as a message shows it: bytes below 0x20 and 0x7F spelled out (<TAB>, <LF>, <CR>, <VT>,
/// <FF>, else <0x1B>), and a leading byte-order mark as <BOM>, so that a name from a launch file
/// can never break the line or drive the terminal, and nothing shown reads as part of a path.
CountedString visibleName(const CountedString& name);

/// "error: cannot open LAUNCH-FILE"
CountedString cannotOpenMessage(const CountedString& launchFile);
/// "error: JAR not found."
CountedString jarNotFoundMessage(const CountedString& jarName);
/// "No launch file NAME either.", NAME the launch file's own name: for a dialog under the line
/// that no jar is found.
CountedString noLaunchFileNote(const CountedString& launchFile);
/// "error: cannot run PROGRAM: REASON"
CountedString cannotRunMessage(const CountedString& program, const CountedString& reason);

/// "error: NAME would run FILE from the current folder, and no NAME is found along PATH"
CountedString programInCurrentFolderMessage(const CountedString& name, const CountedString& file);
/// "error: start would take the program FILE, enclosed in quotes, for its window title"
CountedString startTitleMessage(const CountedString& file);
/// "error: the launcher cannot tell which program COMMAND starts, so it cannot keep the current
/// folder out of it"
CountedString unknownProgramMessage(const char* command);
/// "error: call would read the user's arguments a second time, and PROGRAM is no .exe or .com
/// that could start without it"
CountedString callWithDataMessage(const CountedString& program);
/// "error: NAME is not set, so the program WORD would be taken from the current drive" (or "the
/// current folder")
CountedString unsetProgramVariableMessage(const CountedString& variable,
                                          const CountedString& word, bool currentDrive);
/// "error: PROGRAM was not found: PLACES; install a Java runtime, or set JAVA_HOME to one"
CountedString javaNotFoundMessage(const CountedString& program, const TokenList& places);
/// The places a search looked in, joined by ", "
CountedString placesText(const TokenList& places);
/// "not along PATH (N folders)"
CountedString notAlongPathPlace(int32_t folders);
/// "none in the registry (KEEPERS)"
CountedString registryPlace(const char* keepers);
/// "none in FOLDER or ~/SDKMAN"
CountedString runtimeFoldersPlace(const CountedString& folder, const char* sdkman);
/// Why a runtime variable gives no program: "VARIABLE is not set" (value empty), else "VARIABLE
/// (VALUE) is no absolute path" or (relative false) "VARIABLE (VALUE) holds no FILE".
CountedString runtimeVariablePlace(const char* variable, const CountedString& value, bool relative,
                                   const CountedString& file);
/// "warning: PLACE, so the launcher takes no java from there"
CountedString runtimeVariableWarning(const CountedString& place);
/// "WHAT |NAME| WHY", the reason a line goes through cmd.exe (WHAT may be empty)
CountedString directStartReason(const char* what, const CountedString& name, const char* why);
/// "the launch file's C at column N is cmd.exe's syntax"
CountedString syntaxReason(const CountedString& character, int32_t column);
/// "error: argument N holds a line break, which the command interpreter cannot pass on"
CountedString lineBreakMessage(int32_t argument);
/// "error: argument N follows a byte that ends no character, which the command interpreter would
/// misread"
CountedString brokenCharacterMessage(int32_t argument);
/// "error: argument N would be read with a % of the launch file as a variable, which the command
/// interpreter would expand"
CountedString launchFileVariableMessage(int32_t argument);
/// "error: argument N would change how the command interpreter reads the launch file's text after
/// it"
CountedString launchFileTextMessage(int32_t argument);

/// "error: LAUNCHER is a Windows launcher: the kestrelune-inspect.exe of the Linux package
/// inspects it under Wine: COMMAND"
CountedString windowsLauncherMessage(const CountedString& launcher, const CountedString& command);
/// "error: LAUNCHER is a Linux launcher: the native kestrelune-inspect inspects it: COMMAND"
CountedString linuxLauncherMessage(const CountedString& launcher, const CountedString& command);

/// "error: the command line is N characters long; Windows accepts at most LIMIT"
CountedString lineTooLongMessage(int32_t characters, int32_t limit);
/// "warning: the command line is N characters long; cmd.exe runs at most LIMIT"
CountedString lineTooLongForInterpreterWarning(int32_t characters, int32_t limit);

/// "warning: the launch file starts with a byte-order mark, which is part of its first token |T|"
CountedString byteOrderMarkWarning(const CountedString& firstToken);
/// "warning: %NAME% is unset or empty in |TOKEN|"
CountedString emptyVariableWarning(const CountedString& variable, const CountedString& token);
/// "warning: a % is never closed in |TOKEN|"
CountedString unclosedPercentWarning(const CountedString& token);
/// "warning: %* and %@ inside double quotes stay as written in |TOKEN|"
CountedString quotedMacroWarning(const CountedString& token);
/// "warning: the program |P| is named by a relative path: the user's current folder decides
/// which file runs"
CountedString relativeProgramWarning(const CountedString& program);
/// "warning: the program |FILE| is a batch file, which reads the user's arguments again: cmd.exe
/// may act on them there"
CountedString batchProgramWarning(const CountedString& file);
/// "warning: the program |P| is not found (PATH has N folders; JAVA_HOME is unset)": the PATH
/// part only where pathFolders is not negative (a program named without a folder), JAVA_HOME's
/// value where it is set.
CountedString programNotFoundWarning(const CountedString& program, int32_t pathFolders,
                                     const CountedString& javaHome);
/// "warning: the launch file holds a zero byte, as UTF-16 text does: the launcher reads nothing
/// after it"
CountedString zeroByteWarning();
/// "warning: the launcher is given arguments, but the launch file has no %*: the program does
/// not get them"
CountedString argumentsDroppedWarning();
/// "warning: the class path |P| became N arguments, one per match: java takes only the first as
/// its class path"
CountedString classPathSplitWarning(const CountedString& classPath, int32_t arguments);
/// "warning: a pattern matched in the current folder changed the option |O| into |RESULT|"
CountedString optionChangedWarning(const CountedString& option, const CountedString& result);
/// "warning: %* stands before |MAIN|, among java's own options: an argument that starts with -
/// becomes an option of java"
CountedString argumentsAmongOptionsWarning(const CountedString& optionsEnd);
/// "warning: the pattern |PATTERN| matches nothing"
CountedString unmatchedPatternWarning(const CountedString& pattern);

/// "warning: code page N cannot represent every character of the argument |A|: each such
/// character arrives as the code page's default character"
CountedString unrepresentedArgumentWarning(const CountedString& argument, uint32_t codePage);

/// Writes the message and a line feed on the standard error stream; the windowed launcher without
/// a usable one shows it in a dialog, with the note (when not empty) on a second line.
void printError(const CountedString& message, const CountedString& note = CountedString());
