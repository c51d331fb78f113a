#include "launcher/run_command.h"

#include "launcher/console_policy.h"
#include "launcher/interpreter_escape.h"
#include "launcher/messages.h"
#include "util/paths.h"
#include "util/run_conventions.h"

namespace {

CountedString quoted(const CountedString& line) {
  return line.empty() ? line : "\"" + line + "\"";
}

}  // namespace

int32_t addInterpreters(const CountedString& comspec, const CountedString& systemInterpreter,
                        CommandRequest* request) {
  CountedString escaped;
  int32_t refusedAt = escapeForInterpreter(request->line, request->lineDataMarks, &escaped);
  if (refusedAt >= 0) return refusedAt;
  const CountedString forCmd = CountedString(" ") + kInterpreterSwitches + " /c " + quoted(escaped);
  const CountedString forOther = " /c " + quoted(request->line);
  // The interpreter the variable names if it can be started, else the system's own: a COMSPEC
  // that is missing, a directory or no program never keeps the command from running.
  for (const CountedString& interpreter : {comspec, systemInterpreter}) {
    if (interpreter.empty()) continue;
    request->interpreters.append(interpreter);
    // cmd.exe is known by its file name, in any folder and any case.
    const bool isCmd = hasFileName(interpreter, "cmd.exe");
    request->interpreterLines.append(interpreter + (isCmd ? forCmd : forOther));
  }
  return -1;
}

int32_t completeRequest(const Environment& environment, CommandRequest* request) {
  if (!runConventions().runsThroughInterpreter) return -1;
  request->consoleAnswers = consoleEventAnswers();
  return addInterpreters(environment.value("COMSPEC"), platformDefaultInterpreter(), request);
}

int runCommand(const CommandRequest& request) {
  if (!runConventions().runsThroughInterpreter && request.arguments.empty()) return 0;
  CountedString failure;
  int status = platformRunCommand(request, &failure);
  if (!failure.empty()) printError(cannotRunMessage(request.arguments[0], failure));
  return status;
}
