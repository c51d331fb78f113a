// Every worked example of the documentation, run through the launcher's own stages by the inspect
// tool's code and compared with what the page says. An example is written as
//
//   > **Windows** — arguments: `-v "my file.txt"` — set: `OPTS=-Xmx64m` — files: `bin\lib\a.jar`
//   ```launchfile        (absent for the default jar launch)
//   ```commandline       the final command line, or ```message for the one error line
//   ```inspect           optional: the whole report of kestrelune-inspect
//
// Paths are written under the application folder C:\Apps\Tool (Linux: /opt/tool) with the
// launcher at bin\tool.exe (bin/tool), or, for a Windows launcher named whole, under the folder
// above the launcher's; the test builds that folder for real in a temporary directory and reads
// the page's paths as paths there; java is found along PATH unless the example sets PATH. Windows
// examples run in the Windows build
// (under Wine); those that need no files also run natively in the Windows path style. Linux
// examples run in the native build. The Wine commands of the README and the docs run natively,
// through bash and Wine, as a packager would type them.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "embedded_texts.h"
#include "inspect/inspect.h"
#include "launcher/pipeline.h"
#include "platform/file_queries.h"
#include "platform/platform.h"
#include "support/test_support.h"
#include "util/argument_split.h"
#include "util/paths.h"

namespace test {
namespace {

struct Example {
  std::string page;
  int line = 0;  // of the header, 1-based
  bool windows = true;
  std::string arguments;
  std::vector<std::string> environment;  // NAME=value
  std::vector<std::string> files;        // relative to the application folder
  std::string launcher;                  // relative to the application folder, or whole (C:\...)
  bool hasLaunchFile = false;
  std::string launchFile;
  bool hasCommandLine = false;
  std::string commandLine;
  bool hasMessage = false;
  std::string message;
  bool hasReport = false;
  std::string report;

  std::string where() const { return page + ":" + std::to_string(line); }
  bool whole() const { return windows && launcher.compare(1, 2, ":\\") == 0; }
  std::string root() const {
    if (!whole()) return windows ? "C:\\Apps\\Tool" : "/opt/tool";
    return launcher.substr(0, launcher.rfind('\\', launcher.rfind('\\') - 1));
  }
  std::string launcherPath() const { return whole() ? launcher : root() + separator() + launcher; }
  std::string separator() const { return windows ? "\\" : "/"; }
};

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// "> **Windows** — label: `value` `value` — label: `value`": each backtick span belongs to the
// last "label:" written before it.
bool parseHeader(const std::string& line, Example* example) {
  if (startsWith(line, "> **Windows**")) {
    example->windows = true;
  } else if (startsWith(line, "> **Linux**")) {
    example->windows = false;
  } else {
    return false;
  }
  example->launcher = example->windows ? "bin\\tool.exe" : "bin/tool";
  std::string label, plain;
  for (size_t i = line.find("**", 4) + 2; i < line.size(); ++i) {
    if (line[i] != '`') {
      plain += line[i];
      continue;
    }
    size_t colon = plain.rfind(':');
    if (colon != std::string::npos) {
      size_t start = plain.find_last_of(" —", colon);
      label = plain.substr(start == std::string::npos ? 0 : start + 1, colon - start - 1);
    }
    plain.clear();
    size_t end = line.find('`', i + 1);
    if (end == std::string::npos) end = line.size();
    std::string value = line.substr(i + 1, end - i - 1);
    i = end;
    if (label == "arguments") {
      example->arguments = value;
    } else if (label == "set") {
      example->environment.push_back(value);
    } else if (label == "files") {
      example->files.push_back(value);
    } else if (label == "launcher") {
      example->launcher = value;
    } else {
      ADD_FAILURE() << "unknown label \"" << label << "\" in " << line;
    }
  }
  return true;
}

std::vector<Example> examplesOf(const std::string& page, const std::string& text) {
  std::vector<Example> examples;
  std::vector<std::string> lines = linesOf(text);
  Example* current = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    Example header;
    if (parseHeader(lines[i], &header)) {
      header.page = page;
      header.line = static_cast<int>(i) + 1;
      examples.push_back(header);
      current = &examples.back();
      continue;
    }
    if (!startsWith(lines[i], "```") || lines[i].size() == 3) continue;
    const std::string tag = lines[i].substr(3);
    std::string body;
    size_t j = i + 1;
    for (; j < lines.size() && lines[j] != "```"; ++j) body += lines[j] + "\n";
    i = j;
    if (tag == "launchfile" || tag == "commandline" || tag == "message" || tag == "inspect") {
      if (current == nullptr) {
        ADD_FAILURE() << page << ":" << i << ": a ```" << tag << " block without an example line";
        continue;
      }
    }
    if (tag == "launchfile") {
      current->hasLaunchFile = true;
      current->launchFile = body;
    } else if (tag == "commandline" || tag == "message") {
      if (!body.empty()) body.pop_back();  // the block's last line end is not part of it
      (tag == "message" ? current->hasMessage : current->hasCommandLine) = true;
      (tag == "message" ? current->message : current->commandLine) = body;
    } else if (tag == "inspect") {
      current->hasReport = true;
      current->report = body;
      current = nullptr;  // the report closes an example
    }
  }
  return examples;
}

std::vector<Example> allExamples() {
  std::vector<Example> examples;
  for (const EmbeddedText& text : kEmbeddedTexts) {
    if (std::strncmp(text.name, "docs/", 5) != 0) continue;
    for (Example& example : examplesOf(text.name, text.text)) examples.push_back(example);
  }
  return examples;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Creates every missing directory on the way to path (not path itself).
void makeParents(const std::string& path, const std::string& separator) {
  for (size_t at = path.find(separator, 1); at != std::string::npos; at = path.find(separator, at + 1)) {
    std::string directory = path.substr(0, at);
    if (directory.size() > 2 && !pathExists(counted(directory))) makeDirectory(directory);
  }
}


TEST(DocsExamples, EveryExampleIsComplete) {
  std::vector<Example> examples = allExamples();
  EXPECT_GE(examples.size(), 30u) << "the documentation's examples were not found";
  size_t launchFiles = 0;
  for (const EmbeddedText& text : kEmbeddedTexts) {
    if (std::strncmp(text.name, "docs/", 5) != 0) continue;
    for (const char* at = std::strstr(text.text, "```launchfile\n"); at != nullptr;
         at = std::strstr(at + 1, "```launchfile\n")) {
      ++launchFiles;
    }
  }
  size_t checked = 0;
  for (const Example& example : examples) {
    EXPECT_NE(example.hasCommandLine, example.hasMessage)
        << example.where() << ": needs a commandline or a message block";
    if (example.hasLaunchFile) ++checked;
  }
  EXPECT_EQ(checked, launchFiles) << "every launch file of the docs belongs to an example";
}

// The lengths depend on where the example's folder really is: each number on a length line is
// compared as "#".
std::string withoutLengths(const std::string& report) {
  std::string out;
  bool onLengthLine = false;
  for (size_t i = 0; i < report.size(); ++i) {
    if (i == 0 || report[i - 1] == '\n') {
      onLengthLine = report.compare(i, 7, "length:") == 0;
      // The interpreter's own path is the machine's: only its switches and the line are the
      // example's.
      if (report.compare(i, 12, "interpreter:") == 0) {
        size_t switches = report.find(" /", i);
        if (switches != std::string::npos && switches < report.find('\n', i)) {
          out += "interpreter: |...";
          i = switches - 1;
          continue;
        }
      }
      // So is where java was found: only where from is the example's.
      const std::string java = "java:         ";
      const size_t end = report.find('\n', i);
      if (report.compare(i, java.size(), java) == 0 && report.rfind(" (", end) > i) {
        out += java + "...";
        i = report.rfind(" (", end) - 1;
        continue;
      }
      // So is the program a line starts directly.
      const std::string direct = "start:        directly: |";
      if (report.compare(i, direct.size(), direct) == 0) {
        out += direct + "...|";
        i = report.find('\n', i) - 1;
        continue;
      }
    }
    bool digit = std::isdigit(static_cast<unsigned char>(report[i])) != 0;
    if (!onLengthLine || !digit) {
      out += report[i];
    } else if (out.empty() || out.back() != '#') {
      out += '#';
    }
  }
  return out;
}

// The example's folder built for real; the page's paths are read as paths there.
void runForReal(const Example& example) {
  TempDir folder;
  const std::string root = folder.path();
  ASSERT_EQ(root.find(' '), std::string::npos) << "a blank in " << root << " would change the quoting";
  // A launcher named whole keeps the blanks of its folders: the drive is what moves.
  const std::string from = example.whole() ? "C:" : example.root();
  auto here = [&](const std::string& text) { return replaced(text, from, root); };
  const std::string sep = example.separator();
  for (const std::string& file : example.files) {
    std::string path = here(example.root()) + sep + file;
    makeParents(path, sep);
    if (path.size() > sep.size() && path.compare(path.size() - sep.size(), sep.size(), sep) == 0) {
      path.resize(path.size() - sep.size());
      if (!pathExists(counted(path))) makeDirectory(path);
    } else {
      writeFile(path, "x");
    }
  }
  const std::string launcher = here(example.launcherPath());
  makeParents(launcher, sep);
  if (example.hasLaunchFile) {
    writeFile(toString(launchFilePath(counted(launcher))), here(example.launchFile));
  }
  TokenList entries;
  for (const std::string& entry : example.environment) entries.append(counted(here(entry)));
  TempDir java;  // where java is found, as on a machine with Java installed
  writeFile(java / (example.windows ? "java.exe" : "java"), "");
  entries.append(counted("PATH=" + java.path()));  // after the scene's own, which wins
  const Environment environment(entries);
  ProcessFacts facts = factsOfRun(counted(launcher), counted(here(example.arguments)), environment);
  if (!example.windows) {
    // As a shell hands them over: the words of the argument text, then rebuilt like argv.
    std::vector<char*> argv{const_cast<char*>(launcher.c_str())};
    for (const CountedString& word : facts.arguments) argv.push_back(const_cast<char*>(word.data()));
    facts.commandLine =
        platformCommandLine(static_cast<int>(argv.size()), argv.data(), &facts.replacedCharacters);
  }
  LaunchPlan run = planLaunch(facts);
  if (example.hasCommandLine) {
    EXPECT_TRUE(run.runnable) << example.where() << "\n" << inspectionError(run);
    EXPECT_EQ(toString(run.request.line), here(example.commandLine)) << example.where();
  }
  if (example.hasMessage) {
    EXPECT_FALSE(run.runnable) << example.where();
    EXPECT_EQ(inspectionError(run), here(example.message)) << example.where();
  }
  if (example.hasReport) {
    EXPECT_EQ(withoutLengths(formatInspection(run, environment)), withoutLengths(here(example.report)))
        << example.where();
  }
}

// A Windows example that needs no files, natively: the launch file is read from a temporary
// place while the launcher believes it is C:\Apps\Tool\bin\tool.exe.
void runInWindowsStyle(const Example& example) {
  ScopedTextSettings settings(activeCodePage(), windowsStyles());
  TempDir folder;
  const std::string launchFile = folder / "tool.kestrelune";
  writeFile(launchFile, example.launchFile);
  TokenList entries;
  for (const std::string& entry : example.environment) entries.append(counted(entry));
  const ProcessFacts facts = factsOfRun(counted(example.launcherPath()),
                                        counted(example.arguments), Environment(entries));
  LaunchFileStages stages;
  ASSERT_TRUE(buildLaunchFileCommand(counted(launchFile), facts, &stages)) << example.where();
  EXPECT_EQ(toString(commandOf(stages.form, facts).line), example.commandLine) << example.where();
}

TEST(DocsExamples, CommandLinesAreWhatTheLauncherBuilds) {
  int ran = 0;
  for (const Example& example : allExamples()) {
    if (example.windows == onWindows()) {
      runForReal(example);
      ++ran;
    } else if (example.windows && example.files.empty() && example.hasLaunchFile &&
               example.hasCommandLine) {
      runInWindowsStyle(example);
      ++ran;
    }
  }
  EXPECT_GE(ran, 10);
}

// The Wine commands of the README and the docs: each indented code block with a line that starts
// with "wine ", as one script.
struct WineCommand {
  std::string where;
  std::string script;
};

std::vector<WineCommand> wineCommands() {
  std::vector<WineCommand> commands;
  for (const EmbeddedText& text : kEmbeddedTexts) {
    if (std::strncmp(text.name, "docs/", 5) != 0 && std::strcmp(text.name, "README.md") != 0) {
      continue;
    }
    const std::vector<std::string> lines = linesOf(text.text);
    for (size_t i = 0; i < lines.size(); ++i) {
      const size_t indent = lines[i].find_first_not_of(' ');
      if (indent < 4 || indent == std::string::npos || lines[i].compare(indent, 5, "wine ") != 0) {
        continue;
      }
      // The block: the lines around it with the same margin.
      auto inBlock = [&](size_t j) { return lines[j].find_first_not_of(' ') == indent; };
      size_t first = i, last = i + 1;
      while (first > 0 && inBlock(first - 1)) --first;
      while (last < lines.size() && inBlock(last)) ++last;
      WineCommand command{std::string(text.name) + ":" + std::to_string(i + 1), ""};
      for (size_t j = first; j < last; ++j) command.script += lines[j].substr(indent) + "\n";
      commands.push_back(command);
    }
  }
  return commands;
}

// Each runs as written after the README's set-up, through bash, from a folder laid out as the
// Linux package (bin/kestrelune-inspect.exe of the Windows build), with /home/me read as a
// temporary folder that holds each Windows launcher the command names and a launch file beside
// it, and the tests' own Wine prefix. It gives a report, status 0 and no line of Wine's.
TEST(DocsExamples, WineCommandsRunAsWritten) {
  if (onWindows()) GTEST_SKIP() << "the commands run on Linux";
  const std::string inspect = KESTRELUNE_WINDOWS_INSPECT;
  if (!pathExists(counted(inspect))) GTEST_SKIP() << "build the windows preset first: " << inspect;
  const std::vector<WineCommand> commands = wineCommands();
  EXPECT_GE(commands.size(), 1u) << "the README's Wine command was not found";
  // The prefix scripts/wine-env.sh names.
  const char* prefix = std::getenv("KESTRELUNE_WINEPREFIX");
  const char* home = std::getenv("HOME");
  const std::string ownPrefix = prefix != nullptr && *prefix != 0
                                    ? prefix
                                    : std::string(home ? home : "") + "/.cache/kestrelune-wine";
  for (const WineCommand& command : commands) {
    const std::string& where = command.where;
    TempDir folder;
    makeDirectory(folder / "package");
    makeDirectory(join(folder / "package", "bin"));
    copyExecutable(inspect, join(folder / "package", "bin/kestrelune-inspect.exe"));
    std::string winePath = "Z:" + folder.path();
    for (char& c : winePath) c = c == '/' ? '\\' : c;
    std::string script = replaced(command.script, "Z:\\home\\me\\", winePath + "\\home\\me\\");
    script = replaced(script, "/home/me/", folder.path() + "/home/me/");
    const size_t value = script.find("WINEPREFIX=");
    if (value != std::string::npos) {
      script.replace(value + 11, script.find_first_of(" \n", value) - value - 11, ownPrefix);
    }
    for (size_t at = script.find(winePath); at != std::string::npos;
         at = script.find(winePath, at + 1)) {
      std::string launcher = script.substr(at + 2, script.find_first_of("'\" \n", at) - at - 2);
      for (char& c : launcher) c = c == '\\' ? '/' : c;
      makeParents(launcher, "/");
      writeFile(launcher, "x");
      writeFile(launcher.substr(0, launcher.rfind('.')) + ".kestrelune", "java %*\r\n");
    }
    writeFile(folder / "command.sh", script);
    // Wine's settings are the page's alone, the prefix the tests' (for a block that names none).
    RunResult run = runProgram("/bin/bash", folder / "command.sh",
                               {{"WINEPREFIX", ownPrefix}, {"WINEDEBUG", kUnset}},
                               folder / "package");
    // Wine's server stays three seconds after its last program: a Windows test run that starts
    // meanwhile would find it gone, and start one that holds that test's output open. (One made
    // to stay, by scripts/wine-env.sh, never ends: no longer than six seconds, then.)
    runProgram("/bin/bash", "-c \"timeout 6 wineserver -w\"", {{"WINEPREFIX", ownPrefix}});
    EXPECT_EQ(run.status, 0u) << where << "\n" << script << run.out << run.err;
    EXPECT_EQ(run.err, "") << where;
    EXPECT_NE(run.out.find("\ncommand line: |java "), std::string::npos) << where << run.out;
  }
}

}  // namespace
}  // namespace test
