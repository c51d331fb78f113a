#include "inspect/inspect.h"

#include "inspect/launcher_kind.h"
#include "inspect/plan_warnings.h"
#include "launcher/messages.h"
#include "launcher/run_command.h"
#include "launchfile/macros.h"
#include "util/argument_split.h"
#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/run_conventions.h"

ProcessFacts factsOfRun(const CountedString& launcherPath, const ArgumentsTail& argumentText,
                        const TokenList& arguments, const Environment& environment) {
  ProcessFacts facts;
  facts.modulePath = launcherPath;
  // Only the tail of the launcher's command line matters, so its program name is given quoted,
  // as a shell or Explorer would start it; the tail comes out exactly as argumentText.
  CountedString name = "\"" + launcherPath + "\" ";
  facts.commandLine = name + argumentText.text;
  if (!argumentText.replacedCharacters.empty()) {
    ByteBuffer marks;  // none for the launcher's own name
    for (int32_t i = 0; i < name.length(); ++i) marks.appendByte(0);
    marks.appendString(argumentText.replacedCharacters);
    facts.replacedCharacters = marks.toCountedString();
  }
  facts.arguments = arguments;
  facts.environment = environment;
  facts.windowed = isWindowedLauncher(launcherPath);
  return facts;
}

ProcessFacts factsOfRun(const CountedString& launcherPath, const CountedString& argumentText,
                        const Environment& environment) {
  return factsOfRun(launcherPath, {argumentText, CountedString()},
                    splitLauncherArguments(argumentText), environment);
}

ArgumentsTail argumentsAfterLauncher(const ProcessFacts& tool) {
  // The tool's own tail starts with the launcher path; the launcher's own rule for skipping a
  // program name skips that path too, so the rest keeps the user's quoting byte for byte.
  ArgumentsTail own = argumentsTail(tool);
  ProcessFacts rest;
  rest.commandLine = own.text;
  rest.replacedCharacters = own.replacedCharacters;
  return argumentsTail(rest);
}

std::string visibleText(const CountedString& text) {
  CountedString shown = visibleName(text);
  return "|" + std::string(shown.data(), shown.length()) + "|";
}

namespace {

std::string line(const char* label, const std::string& value) {
  std::string text = label;
  text.resize(14, ' ');
  return text + value + "\n";
}

std::string stage(const char* name, const TokenList& tokens, const char* noun = "token") {
  std::string text = std::string(name) + " (" + std::to_string(tokens.size()) + " " + noun +
                     (tokens.size() == 1 ? "):\n" : "s):\n");
  int number = 0;
  for (const CountedString& token : tokens) {
    text += "  [" + std::to_string(++number) + "] " +
            (isArgumentsSlot(token) ? "%* (the arguments, each exactly)" : visibleText(token)) +
            "\n";
  }
  return text;
}

std::string plain(const CountedString& text) { return std::string(text.data(), text.length()); }

}  // namespace

std::string formatInspection(const LaunchPlan& run, const Environment& environment) {
  const LaunchReport& report = run.report;
  const bool launchFileMode = report.mode == LaunchMode::kLaunchFile;
  std::string text = line("launcher:", plain(report.launcher));
  text += line("kind:", report.windowed ? "windowed" : "console");
  text += line("launch file:", plain(report.launchFile) + (launchFileMode ? "" : " (not found)"));
  text += line("mode:", launchFileMode ? "launch file" : "default jar launch");
  text += line("arguments:", visibleText(report.tail.text));
  if (launchFileMode) {
    if (report.opened) {
      text += stage("read", report.stages.read);
      text += stage("after macros", report.stages.expanded);
      text += stage("after path lists", report.stages.final);
    }
  } else {
    text += line("jar:", plain(report.jarName));
    for (size_t i = 0; i < report.candidates.size(); ++i) {
      const int order = static_cast<int>(i);
      const char* state = report.found < 0 || order < report.found ? "not found"
                          : order == report.found               ? "found"
                                                             : "not tried";
      text += "  [" + std::to_string(order + 1) + "] " + visibleText(report.candidates[i]) + " " +
              state + "\n";
    }
    text += line("options:", plain(report.optionsName) + " = " + visibleText(report.options));
  }
  const JavaSearch& java = report.java;
  if (!java.file.empty()) {
    text += line("java:", plain(java.file) + " (" + plain(java.source) +
                              (java.version.empty() ? "" : ", " + plain(java.version)) + ")");
  } else if (java.missing()) {
    text += line("java:", "not found here: " + plain(placesText(java.looked)) +
                              "; the launcher ends with status " + std::to_string(run.errorStatus));
  }
  // Without java on this machine the line still shows what runs where there is one.
  const bool shown = run.runnable || java.missing();
  text += line("command line:", shown ? visibleText(run.request.line) : "(nothing is run)");
  if (report.interpreterLength >= 0) {
    text += line("length:", std::to_string(report.interpreterLength) +
                                " after /c (cmd.exe: at most " +
                                std::to_string(kInterpreterLineLimit) + "), " +
                                std::to_string(report.wholeLength) + " in all (Windows: at most " +
                                std::to_string(kWindowsLineLimit) + ")");
  } else if (report.wholeLength >= 0) {
    text += line("length:", std::to_string(report.wholeLength) + " (Windows: at most " +
                                std::to_string(kWindowsLineLimit) + ")");
  }
  if (report.unmovedLength >= 0) {
    const CountedString& classPath = run.request.classPath;
    text += line("class path:", "moved to CLASSPATH (" +
                                    std::to_string(wideCharacterCount(classPath.data(),
                                                                      classPath.length())) +
                                    " characters), because the line would be " +
                                    std::to_string(report.unmovedLength) + " characters long");
  }
  const ProgramStart& start = run.request.starts[0];
  if (shown && run.request.startCount > 0 && !start.interpreter) {
    text += line("start:", "directly: " + visibleText(start.program));
  } else if (shown && run.request.startCount > 0) {
    text += line("start:", "through cmd.exe, because " + plain(report.startReason));
    // What the interpreter is started with: its switches, and the line with the escapes that
    // keep the user's input from acting. A COMSPEC passed over is named, so that no one wonders
    // why the setting seems ignored.
    const CountedString comspec = environment.value("COMSPEC");
    text += line("interpreter:", visibleText(start.commandLine) +
                                     (passesOverComspec(comspec, run.request)
                                          ? " (not COMSPEC " + visibleText(comspec) +
                                                ", which would not read the escapes of data)"
                                          : ""));
  }
  if (shown) {
    // What the program gets, one argument a line: on POSIX each exactly, on Windows as its C
    // runtime reads the line.
    text += stage("program arguments",
                  runConventions().passesArgumentsExactly() ? run.request.arguments
                                                            : splitWindowsArguments(run.request.line),
                  "argument");
  }
  for (const CountedString& warning : planWarnings(run, environment)) text += plain(warning) + "\n";
  return text;
}

std::string inspectionError(const LaunchPlan& run) {
  return run.runnable || run.report.java.missing() ? std::string() : plain(run.error);
}
