#include "launcher/pipeline.h"

#include "launchfile/command_line.h"
#include "launchfile/macros.h"
#include "launchfile/path_list.h"
#include "launchfile/reader.h"
#include "util/argument_split.h"
#include "util/path_style.h"
#include "util/paths.h"

namespace {

// Where the style passes arguments exactly, %* standing alone is not text to expand and split
// again: it keeps its place for the arguments themselves.
CountedString expandMacrosOrKeepSlot(const CountedString& token) {
  return pathStyle().passesArgumentsExactly() && isWholeTokenArguments(token) ? argumentsSlot()
                                                                             : expandMacros(token);
}

}  // namespace

TokenList expandEach(const TokenList& tokens, CountedString (*expand)(const CountedString&)) {
  TokenList result;
  for (const CountedString& token : tokens) {
    CountedString expanded = isArgumentsSlot(token) ? token : expand(token);
    if (isArgumentsSlot(expanded)) {
      result.append(std::move(expanded));  // no stage looks inside it
      continue;
    }
    // An expansion may vanish, stay one token or become several; order is kept.
    result.appendAll(splitTokens(expanded));
  }
  return result;
}

TokenList programArguments(const TokenList& finalTokens) {
  TokenList arguments;
  TokenList run;  // final tokens since the last slot
  for (const CountedString& token : finalTokens) {
    if (!isArgumentsSlot(token)) {
      run.append(token);
      continue;
    }
    arguments.appendAll(splitLauncherArguments(assembleCommandLine(run)));
    run.clear();
    arguments.appendAll(launcherArguments());
  }
  arguments.appendAll(splitLauncherArguments(assembleCommandLine(run)));
  return arguments;
}

bool buildLaunchFileCommand(const CountedString& launchFile, LaunchFileStages* stages) {
  if (!readLaunchFile(launchFile, &stages->read)) return false;
  stages->expanded = expandEach(stages->read, expandMacrosOrKeepSlot);
  stages->final = expandEach(stages->expanded, expandPathList);
  stages->commandLine = assembleCommandLine(stages->final);
  return true;
}
