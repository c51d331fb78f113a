#include "launcher/default_jar.h"

#include <cstdio>

#include "launcher/launcher.h"
#include "util/path_style.h"
#include "util/paths.h"

namespace {

// The four places tried, in order, each relative to the executable's directory.
CountedString searchEntry(int index) {
  const char separator[2] = {pathStyle().directorySeparator, 0};
  switch (index) {
    case 0: return CountedString("..") + separator + "lib";
    case 1: return CountedString();
    case 2: return CountedString("lib");
    default: return CountedString("..");
  }
}

constexpr int kSearchEntries = 4;

}  // namespace

CountedString defaultJarCommandLine(const CountedString& jarPath, const CountedString& options,
                                    const CountedString& tail) {
  return "java " + options + " -jar \"" + jarPath + "\" " + tail;
}

TokenList defaultJarCandidates(const CountedString& executablePath, CountedString* jarName) {
  const char separator[2] = {pathStyle().directorySeparator, 0};
  CountedString directory = directoryOf(executablePath);
  *jarName = baseNameOf(executablePath) + ".jar";
  TokenList candidates;
  for (int i = 0; i < kSearchEntries; ++i) {
    // The directory ends with its separator, so the empty entry leaves two in a row.
    candidates.append(directory + searchEntry(i) + separator + *jarName);
  }
  return candidates;
}

CountedString findDefaultJar(const CountedString& executablePath, CountedString* jarName) {
  for (const CountedString& candidate : defaultJarCandidates(executablePath, jarName)) {
    if (pathExists(candidate)) return candidate;  // the first that exists ends the search
  }
  return CountedString();
}

CountedString optionsVariableName(const CountedString& executablePath) {
  return baseNameOf(executablePath).toUpper() + "_VMOPTIONS";
}

int launchDefaultJar(const CountedString& executablePath) {
  CountedString jarName;
  CountedString jarPath = findDefaultJar(executablePath, &jarName);
  if (jarPath.empty()) {
    std::fprintf(stderr, "error: %s not found.\n", jarName.data());
    return -1;
  }
  CountedString options = environmentValue(optionsVariableName(executablePath));
  return runCommand(defaultJarCommandLine(jarPath, options, commandLineTail()));
}
