#include "launcher/launcher.h"

#include <cstdio>

#include "launcher/default_jar.h"
#include "launcher/pipeline.h"
#include "util/paths.h"
#include "util/platform.h"

int runCommand(const CountedString& commandLine) { return platformRunCommand(commandLine); }

namespace {

int runLaunchFile(const CountedString& launchFile) {
  LaunchFileStages stages;
  if (!buildLaunchFileCommand(launchFile, &stages)) {
    std::fprintf(stderr, "error: cannot open %s\n", launchFile.data());
    return -1;
  }
  return runCommand(stages.commandLine);
}

}  // namespace

int runLauncher() {
  CountedString executablePath = modulePath();
  CountedString launchFile = launchFilePath(executablePath);
  if (!pathExists(launchFile)) return launchDefaultJar(executablePath);
  return runLaunchFile(launchFile);  // no fallback to the jar, whatever happens there
}
