#include "inspect/inspect.h"

#include <cstdio>

#include "launchfile/macros.h"
#include "util/argument_split.h"
#include "util/path_style.h"
#include "util/paths.h"

void describeRunOf(const CountedString& launcherPath, const CountedString& argumentText,
                   const TokenList& arguments) {
  setModulePath(launcherPath);
  // Only the tail of the launcher's command line matters, so its program name is given quoted,
  // as a shell or Explorer would start it; the tail comes out exactly as argumentText.
  setCommandLine("\"" + launcherPath + "\" " + argumentText);
  setLauncherArguments(arguments);
}

void describeRunOf(const CountedString& launcherPath, const CountedString& argumentText) {
  describeRunOf(launcherPath, argumentText, splitLauncherArguments(argumentText));
}

CountedString argumentsAfterLauncher() {
  // The tool's own tail starts with the launcher path; the launcher's own rule for skipping a
  // program name skips that path too, so the rest keeps the user's quoting byte for byte.
  setCommandLine(commandLineTail());
  return commandLineTail();
}

std::string visibleText(const CountedString& text) {
  std::string out = "|";
  for (int32_t i = 0; i < text.length(); ++i) {
    unsigned char c = text.byteAt(i);
    switch (c) {
      case '\t': out += "<TAB>"; break;
      case '\n': out += "<LF>"; break;
      case '\r': out += "<CR>"; break;
      case '\v': out += "<VT>"; break;
      case '\f': out += "<FF>"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char code[8];
          std::snprintf(code, sizeof code, "<0x%02X>", c);
          out += code;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "|";
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

std::string formatInspection(const LaunchPlan& run) {
  const bool launchFileMode = run.mode == LaunchMode::kLaunchFile;
  std::string text = line("launcher:", plain(run.launcher));
  text += line("launch file:", plain(run.launchFile) + (launchFileMode ? "" : " (not found)"));
  text += line("mode:", launchFileMode ? "launch file" : "default jar launch");
  text += line("arguments:", visibleText(run.tail));
  if (launchFileMode) {
    if (run.opened) {
      text += stage("read", run.stages.read);
      text += stage("after macros", run.stages.expanded);
      text += stage("after path lists", run.stages.final);
    }
  } else {
    text += line("jar:", plain(run.jarName));
    for (size_t i = 0; i < run.candidates.size(); ++i) {
      const int order = static_cast<int>(i);
      const char* state = run.found < 0 || order < run.found ? "not found"
                          : order == run.found               ? "found"
                                                             : "not tried";
      text += "  [" + std::to_string(order + 1) + "] " + visibleText(run.candidates[i]) + " " +
              state + "\n";
    }
    text += line("options:", plain(run.optionsName) + " = " + visibleText(run.options));
  }
  text += line("command line:", run.described ? visibleText(run.commandLine) : "(nothing is run)");
  if (run.interpreterLength >= 0) {
    text += line("length:", std::to_string(run.interpreterLength) + " after /c (cmd.exe: at most " +
                                std::to_string(kInterpreterLineLimit) + "), " +
                                std::to_string(run.wholeLength) + " in all (Windows: at most " +
                                std::to_string(kWindowsLineLimit) + ")");
  }
  if (run.described && pathStyle().passesArgumentsExactly()) {
    // What the program gets, one argument a line: the line above no longer shows it exactly.
    text += stage("program arguments", run.request.arguments, "argument");
  }
  for (const CountedString& warning : run.warnings) text += plain(warning) + "\n";
  return text;
}

std::string inspectionError(const LaunchPlan& run) {
  return run.described ? std::string() : plain(run.error);
}
