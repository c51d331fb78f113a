// What the tests need of the system, portable: temporary folders, files, and starting a program
// with a changed environment while capturing its output and its full exit status.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "util/code_page.h"
#include "util/counted_string.h"
#include "util/path_style.h"
#include "util/run_conventions.h"
#include "util/token_list.h"

namespace test {

/// The platform's directory separator as text.
std::string separator();
/// Joins with the platform's separator.
std::string join(const std::string& directory, const std::string& name);
/// True in the Windows build (under Wine).
inline bool onWindows() { return separator() == "\\"; }
/// Text written in the Windows spelling, with the separators of the platform's own on POSIX.
std::string styled(std::string text);

/// A fresh empty directory, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return join(path_, name); }

 private:
  std::string path_;
};

void makeDirectory(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
/// Removes a file if it is there.
void removeFile(const std::string& path);
std::string readFile(const std::string& path);
void copyExecutable(const std::string& from, const std::string& to);
/// The directory that holds the running test program (and the programs built beside it).
std::string programDirectory();
/// A built program beside the tests, by its name without extension.
std::string builtProgram(const std::string& name);

struct RunResult {
  uint32_t status = 0;  // the full 32-bit exit code (on POSIX: the exit status, 0 to 255)
  std::string out;
  std::string err;
};

/// Starts program with arguments: on Windows the raw text after the quoted program name; on
/// POSIX split like a final command line (blanks separate, double quotes group and are dropped).
/// Variables mapped to values are set, those mapped to "\x01unset" are removed, the rest are
/// inherited. An empty workingDirectory keeps the current one.
RunResult runProgram(const std::string& program, const std::string& arguments,
                     const std::map<std::string, std::string>& environment = {},
                     const std::string& workingDirectory = "");
constexpr const char kUnset[] = "\x01unset";
/// POSIX only: runProgram with the arguments handed over one by one, exactly.
RunResult runProgramWithArguments(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::map<std::string, std::string>& environment,
                                  const std::string& workingDirectory);

/// What the recording child saw: its raw command line (empty on POSIX) and its arguments after
/// the program name as its C runtime parsed them.
struct ChildRecord {
  bool present = false;
  std::string raw;
  std::vector<std::string> arguments;
};
ChildRecord readChildRecord(const std::string& path);

/// Installs the recording child as program `name` (java, java.exe) in directory.
std::string installChild(const std::string& directory, const std::string& name);

/// Like runProgram, with the program's address space limited to limitBytes (POSIX: RLIMIT_AS).
/// False, with nothing run, where the platform cannot limit one program's memory.
bool runProgramWithMemoryLimit(const std::string& program, const std::string& arguments,
                               const std::map<std::string, std::string>& environment,
                               const std::string& workingDirectory, uint64_t limitBytes,
                               RunResult* result);

/// An object named path that exists but that no one, root included, can open for reading while
/// this lives: on Windows a file held open without sharing, on POSIX a socket.
class UnopenableFile {
 public:
  explicit UnopenableFile(const std::string& path);
  ~UnopenableFile();
  UnopenableFile(const UnopenableFile&) = delete;
  UnopenableFile& operator=(const UnopenableFile&) = delete;

 private:
  intptr_t handle_;
};

/// A named pipe at path that no one writes to; false where the platform has none.
bool makeFifo(const std::string& path);
/// A symbolic link at path to target, as written; false where the platform makes none for us.
bool makeSymlink(const std::string& target, const std::string& path);

/// The bytes as a CountedString, zero bytes included.
CountedString counted(const std::string& bytes);
std::string toString(const CountedString& text);
std::vector<std::string> toStrings(const TokenList& tokens);

/// The two records a platform chooses at start-up: how it spells paths, how it runs programs.
struct Styles {
  PathStyle path;
  RunConventions run;
};
inline Styles windowsStyles() { return {PathStyle::windows(), RunConventions::windows()}; }
inline Styles posixStyles() { return {PathStyle::posix(), RunConventions::posix()}; }
void setStyles(const Styles& styles);

/// Sets the code page and styles for one test and puts back the previous ones after it.
class ScopedTextSettings {
 public:
  ScopedTextSettings(const ActiveCodePage& codePage, const Styles& styles);
  ~ScopedTextSettings();

 private:
  ActiveCodePage savedCodePage_;
  Styles savedStyles_;
};

}  // namespace test
