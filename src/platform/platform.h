// The seam to the operating system: plain functions over the value types, implemented once in
// platform_win32.cpp and once in platform_posix.cpp. They take what they need as values and never
// call back into portable code. The code-page services are in text_services.h.
#pragma once

#include <cstdint>

#include "platform/console_events.h"
#include "util/counted_string.h"
#include "util/path_style.h"
#include "util/run_conventions.h"
#include "util/token_list.h"

// Start-up facts.
PathStyle platformPathStyle();
RunConventions platformRunConventions();
/// True in a program built for the Windows GUI subsystem (kestrelunew.exe), as its own image says:
/// it has no console. False on POSIX.
bool platformIsWindowed();
/// Full path of the running executable, never cut; empty if the platform cannot tell.
CountedString platformModulePath();
/// The raw command line. Windows: the wide command line in the ANSI code page without best-fit
/// mapping (a full-width quote never becomes a real one): a character the code page cannot
/// represent becomes its default character, marked by a non-zero byte at the same place of
/// *replacedCharacters (left empty when there is none). POSIX has no raw line: it is rebuilt from argv
/// (each argument without its double quotes, enclosed in double quotes, joined by blanks).
CountedString platformCommandLine(int argc, char** argv, CountedString* replacedCharacters);
/// The environment as "NAME=value" texts, in the system's order.
TokenList platformEnvironment();
/// The full path of an executable as the system would give it to that program itself. Windows:
/// absolute and normalised like a module path. POSIX: symbolic links resolved like
/// /proc/self/exe (when the file is missing, only its directory). Unchanged when it cannot be
/// resolved.
CountedString platformFullPath(const CountedString& path);

// Files.
/// True when path names an existing file, directory or other object.
bool platformPathExists(const CountedString& path);
/// An open file for reading, or -1. A directory cannot be opened. Others may read and write the
/// file meanwhile.
/// True when path names a regular file: not a directory, a device, a pipe or a socket.
bool platformIsRegularFile(const CountedString& path);
intptr_t platformOpenInput(const CountedString& path);
/// Reads up to size bytes; returns the count, 0 at the end of the file or on an error.
int32_t platformReadInput(intptr_t file, char* buffer, int32_t size);
void platformCloseInput(intptr_t file);
/// The directory entries offered for a wildcard pattern, in the platform's order. Windows
/// matches them against the pattern's last component itself (*matched is true); POSIX lists the
/// whole directory of the pattern ("." when it has none) and leaves the matching to the caller.
TokenList platformDirectoryEntries(const CountedString& pattern, bool* matched);

// Running.
/// What running a final command line takes, worked out by portable code (command_line.h,
/// run_command.h).
/// Windows: one start a request may make: the program itself, or an interpreter that runs the
/// line.
struct ProgramStart {
  CountedString program;      // the file started
  CountedString commandLine;  // its whole command line
  int32_t lineStart = 0;      // where the launcher's line begins in commandLine (after /c)
  bool interpreter = false;   // an interpreter that cannot start gives way to the next one
};

struct CommandRequest {
  static constexpr int kMaxStarts = 2;

  CountedString line;           // the one line: what runs on Windows, and shown
  // The file the line's program word starts where the launcher resolved it, else the word itself:
  // what a message about the program names.
  CountedString programFile;
  CountedString lineDataMarks;  // which bytes of line are data (launchfile/marked_text.h); empty
                                // when none
  TokenList arguments;          // POSIX: the program and its arguments
  ProgramStart starts[kMaxStarts];  // Windows: the program alone, or the interpreters to try
  int startCount = 0;
  CountedString classPath;      // Windows: when not empty, CLASSPATH for the interpreter and the
                                // programs it starts, in place of the launcher's own
  // Windows: the line starts more commands than its first (after & or |), whose bare names
  // cmd.exe would look for in the current folder first: it is told not to
  // (NoDefaultCurrentDirectoryInExePath, which the programs inherit).
  bool startsMoreCommands = false;
  ConsoleEventAnswers consoleAnswers;  // Windows: how to answer the console while it runs
  bool windowed = false;  // Windows: as the windowed launcher (ProcessFacts::windowed)
};
/// The full path of the system's own interpreter in the system folder, for when COMSPEC is unset
/// or cannot be started; empty where commands are not run through an interpreter.
CountedString platformDefaultInterpreter();
/// Windows: makes the request's first start that succeeds (a program that cannot start is the end,
/// with the system's reason in *failure; an interpreter gives way to the next), with inherited
/// handles, console and directory, waits for it and returns its exit code, or -1 when none can
/// start; for the windowed launcher without a console window, with the caller's usable standard
/// handles and its show-window choice, and with a dialog when the program fails. POSIX:
/// replaces the process with the program and returns only when it cannot be started: 127, with
/// the system's reason in *failure.
int platformRunCommand(const CommandRequest& request, CountedString* failure);

// Java runtimes.
/// What the system's records say of the Java runtimes installed, in parallel lists, one entry per
/// record: nothing in them is checked yet.
struct RecordedRuntimes {
  TokenList homes;     // the runtime's folder as recorded (a REG_EXPAND_SZ value expanded)
  TokenList versions;  // the version the record names, or empty
  TokenList sources;   // who keeps the record: "JavaSoft", "Eclipse Adoptium", ...
};
/// Windows: the runtimes the registry records under the common vendors' keys, HKCU before HKLM
/// and the 64-bit view before the 32-bit one, so that of two records of one version the first
/// wins. Empty on POSIX.
RecordedRuntimes platformRecordedRuntimes();

// Reporting.
/// Writes the line and a line feed on the standard error stream. The running program, when it is
/// the windowed launcher without a usable stream there, shows the line in an error dialog titled
/// with its own name instead, where someone can see one, and note (when given) on a second line.
/// What the running program is decides, not the facts of a run it describes: kestrelune-inspect
/// writes its lines.
void platformReportError(const char* line, const char* note = nullptr);
