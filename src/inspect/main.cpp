// kestrelune-inspect LAUNCHER [ARGUMENTS...]: prints what the launcher at LAUNCHER would run when
// started with ARGUMENTS, stage by stage, and runs nothing. The start-up is the launcher's own.
#include <cstdio>
#include <cstring>
#include <string>

#include "inspect/inspect.h"
#include "inspect/launcher_kind.h"
#include "launcher/messages.h"
#include "platform/platform.h"
#include "platform/process_facts.h"
#include "util/out_of_memory.h"

namespace {

const char kUsage[] = "usage: kestrelune-inspect LAUNCHER [ARGUMENTS...]";

}  // namespace

int main(int argc, char** argv) {
  installOutOfMemoryHandler();
  const ProcessFacts tool = takeProcessFacts(argc, argv);

  int status = 0;
  if (argc < 2 || argv[1][0] == 0) {
    std::fprintf(stderr, "%s\n", kUsage);
    status = 1;
  } else if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::printf("%s\nPrints the launch mode, the launch file, every stage's tokens and the final "
                "command line\nthat LAUNCHER would run with ARGUMENTS. Nothing is run.\n", kUsage);
  } else {
    // The launcher's arguments are the raw text after LAUNCHER on our own command line, so
    // that quotes and blanks reach %* exactly as the user typed them, and one by one the words
    // after it, as a POSIX launcher passes them.
    TokenList arguments;
    for (int i = 2; i < argc; ++i) arguments.append(CountedString(argv[i]));
    const CountedString launcher = platformFullPath(CountedString(argv[1]));
    // A launcher of the other system would be read as if it ran here, with the wrong names and
    // folders: only the tool that runs where it does can say what it runs.
    const CountedString elsewhere = otherSystemLine(launcher, tool.modulePath, arguments);
    if (!elsewhere.empty()) {
      printError(elsewhere);
      status = -1;
    } else {
      ProcessFacts facts =
          factsOfRun(launcher, argumentsAfterLauncher(tool), arguments, tool.environment);
      facts.recordedRuntimes = tool.recordedRuntimes;  // where this system keeps Java
      facts.runtimesFolder = tool.runtimesFolder;
      LaunchPlan run = planLaunch(facts);
      std::fputs(formatInspection(run, tool.environment).c_str(), stdout);
      if (!inspectionError(run).empty()) {
        printError(run.error);
        status = 1;
      }
    }
  }
  return status;
}
