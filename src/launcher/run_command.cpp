#include "launcher/run_command.h"

#include "launcher/console_policy.h"
#include "launcher/direct_start.h"
#include "launcher/interpreter_escape.h"
#include "launcher/messages.h"
#include "launchfile/marked_text.h"
#include "util/code_page.h"
#include "util/paths.h"
#include "util/run_conventions.h"

namespace {

// An & or | of the launch file's own text, outside cmd.exe's quotes and not escaped, starts
// another command, whose program cmd.exe looks for as it does the first.
bool startsMoreCommands(const CountedString& line, const CountedString& dataMarks) {
  bool quoted = false;
  for (int32_t i = 0; i < line.length(); i += mbCharLength(line.data() + i)) {
    const unsigned char byte = line.byteAt(i);
    if (byte == '"') quoted = !quoted;
    if (quoted || isDataAt(dataMarks, i)) continue;
    if (byte == '^') {
      i += mbCharLength(line.data() + i);  // the escaped character, whole
      if (i >= line.length()) break;
    } else if (byte == '&' || byte == '|') {
      return true;
    }
  }
  return false;
}

CountedString quoted(const CountedString& line) {
  return line.empty() ? line : "\"" + line + "\"";
}

}  // namespace

bool passesOverComspec(const CountedString& comspec, const CommandRequest& request) {
  return !request.lineDataMarks.empty() && !comspec.empty() && !hasFileName(comspec, "cmd.exe");
}

int32_t addInterpreters(const CountedString& comspec, const CountedString& systemInterpreter,
                        CommandRequest* request, EscapeRefusal* why) {
  CountedString escaped;
  int32_t refusedAt = escapeForInterpreter(request->line, request->lineDataMarks, &escaped, why);
  if (refusedAt >= 0) return refusedAt;
  const CountedString cmdSwitches = CountedString(" ") + kInterpreterSwitches + " /c ";
  const CountedString otherSwitches = " /c ";
  // The interpreter the variable names if it can be started, else the system's own: a COMSPEC
  // that is missing, a directory or no program never keeps the command from running. The escapes
  // of data are made for cmd.exe's reading: another interpreter would let the user's input act,
  // so a line with data goes to the system's cmd.exe alone.
  const CountedString first = passesOverComspec(comspec, *request) ? CountedString() : comspec;
  for (const CountedString& interpreter : {first, systemInterpreter}) {
    if (interpreter.empty()) continue;
    // cmd.exe is known by its file name, in any folder and any case.
    const bool isCmd = hasFileName(interpreter, "cmd.exe");
    const CountedString start = interpreter + (isCmd ? cmdSwitches : otherSwitches);
    ProgramStart& added = request->starts[request->startCount++];
    added.program = interpreter;
    added.commandLine = start + quoted(isCmd ? escaped : request->line);
    added.lineStart = start.length();
    added.interpreter = true;
  }
  return -1;
}

int32_t completeRequest(const Environment& environment, const CountedString& program,
                        const CountedString& alongPath, CommandRequest* request,
                        CountedString* startReason, EscapeRefusal* why) {
  if (!runConventions().runsThroughInterpreter) return -1;
  request->consoleAnswers = consoleEventAnswers();
  DirectStart direct =
      directStart(request->line, request->lineDataMarks, program, environment, alongPath);
  if (!direct.program.empty()) {
    // What cmd.exe cannot be given is refused on both paths: a launch file behaves the same
    // whether or not it needs cmd.exe.
    CountedString escaped;
    const int32_t refusedAt =
        escapeForInterpreter(request->line, request->lineDataMarks, &escaped, why);
    if (refusedAt >= 0) return refusedAt;
    ProgramStart& start = request->starts[request->startCount++];
    start.program = std::move(direct.program);
    start.commandLine = std::move(direct.commandLine);
    return -1;
  }
  *startReason = std::move(direct.reason);
  request->startsMoreCommands = startsMoreCommands(request->line, request->lineDataMarks);
  return addInterpreters(environment.value("COMSPEC"), platformDefaultInterpreter(), request, why);
}

int runCommand(const CommandRequest& request) {
  const bool windows = runConventions().runsThroughInterpreter;
  if (!windows && request.arguments.empty()) return 0;
  CountedString failure;
  int status = platformRunCommand(request, &failure);
  if (!failure.empty()) {
    printError(cannotRunMessage(windows ? request.starts[0].program : request.arguments[0], failure));
  }
  return status;
}
