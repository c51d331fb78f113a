#include "launcher/launcher.h"

#include <cstdio>

#include "launcher/default_jar.h"
#include "util/paths.h"
#include "util/platform.h"

int runCommand(const CountedString& commandLine) { return platformRunCommand(commandLine); }

namespace {

int runLaunchFile(const CountedString& launchFile) {
  std::fprintf(stderr, "error: cannot read launch file %s: not supported yet\n", launchFile.data());
  return -1;
}

}  // namespace

int runLauncher() {
  CountedString executablePath = modulePath();
  CountedString launchFile = launchFilePath(executablePath);
  if (!pathExists(launchFile)) return launchDefaultJar(executablePath);
  return runLaunchFile(launchFile);  // no fallback to the jar, whatever happens there
}
