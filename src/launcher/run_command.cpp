#include "launcher/run_command.h"

#include <utility>

#include "launcher/messages.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/paths.h"

namespace {

// Whole characters only: a 0x5C that ends a double-byte character is no backslash.
bool endsWithSeparator(const CountedString& directory, char separator) {
  return mbFindLastChar(directory.data(), static_cast<unsigned char>(separator)) ==
         directory.length() - 1;
}

}  // namespace

void addInterpreters(const CountedString& line, const CountedString& comspec,
                     const CountedString& defaultName, const CountedString& path,
                     CommandRequest* request) {
  CountedString quoted = line.empty() ? line : "\"" + line + "\"";
  // The interpreter the variable names if it can be started, else the system's own: a COMSPEC
  // that is missing, a directory or no program never keeps the command from running.
  if (!comspec.empty()) {
    request->interpreters.append(comspec);
    request->interpreterLines.append(comspec + " /c " + quoted);
  }
  CountedString defaultLine = defaultName + " /c " + quoted;
  request->interpreters.append(defaultName);
  request->interpreterLines.append(defaultLine);
  const PathStyle& style = pathStyle();
  for (int32_t start = 0; start < path.length();) {
    int32_t end = path.findChar(style.listSeparator, start);
    if (end < 0) end = path.length();
    CountedString directory = path.substring(start, end);
    start = end + 1;
    if (directory.empty()) continue;
    const char separator[2] = {style.directorySeparator, 0};
    bool hasSeparator = endsWithSeparator(directory, style.directorySeparator) ||
                        endsWithSeparator(directory, '/');
    request->interpreters.append(directory + (hasSeparator ? "" : separator) + defaultName);
    request->interpreterLines.append(defaultLine);
  }
}

CommandRequest commandRequest(const CountedString& commandLine, TokenList programArguments) {
  CommandRequest request;
  if (pathStyle().runsThroughInterpreter) {
    addInterpreters(commandLine, environmentValue("COMSPEC"), platformDefaultInterpreter(),
                    environmentValue("PATH"), &request);
  } else {
    request.arguments = std::move(programArguments);
  }
  return request;
}

int runCommand(const CommandRequest& request) {
  if (!pathStyle().runsThroughInterpreter && request.arguments.empty()) return 0;
  CountedString failure;
  int status = platformRunCommand(request, &failure);
  if (!failure.empty()) printError(cannotRunMessage(request.arguments[0], failure));
  return status;
}
