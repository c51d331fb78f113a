#include "launcher/run_command.h"

#include "launcher/console_policy.h"
#include "launcher/messages.h"
#include "util/paths.h"
#include "util/run_conventions.h"

void addInterpreters(const CountedString& comspec, const CountedString& defaultName,
                     const CountedString& path, CommandRequest* request) {
  const CountedString& line = request->line;
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
  for (const CountedString& directory : searchPathDirectories(path)) {
    request->interpreters.append(joinPath(directory, defaultName));
    request->interpreterLines.append(defaultLine);
  }
}

void completeRequest(const Environment& environment, CommandRequest* request) {
  if (!runConventions().runsThroughInterpreter) return;
  request->consoleAnswers = consoleEventAnswers();
  addInterpreters(environment.value("COMSPEC"), platformDefaultInterpreter(),
                  environment.value("PATH"), request);
}

int runCommand(const CommandRequest& request) {
  if (!runConventions().runsThroughInterpreter && request.arguments.empty()) return 0;
  CountedString failure;
  int status = platformRunCommand(request, &failure);
  if (!failure.empty()) printError(cannotRunMessage(request.arguments[0], failure));
  return status;
}
