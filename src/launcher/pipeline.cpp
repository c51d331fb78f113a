#include "launcher/pipeline.h"

#include "launchfile/command_line.h"
#include "launchfile/macros.h"
#include "launchfile/path_list.h"
#include "launchfile/reader.h"

TokenList expandEach(const TokenList& tokens, CountedString (*expand)(const CountedString&)) {
  TokenList result;
  for (const CountedString& token : tokens) {
    // An expansion may vanish, stay one token or become several; order is kept.
    result.appendAll(splitTokens(expand(token)));
  }
  return result;
}

bool buildLaunchFileCommand(const CountedString& launchFile, LaunchFileStages* stages) {
  if (!readLaunchFile(launchFile, &stages->read)) return false;
  stages->expanded = expandEach(stages->read, expandMacros);
  stages->final = expandEach(stages->expanded, expandPathList);
  stages->commandLine = assembleCommandLine(stages->final);
  return true;
}
