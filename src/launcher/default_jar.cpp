#include "launcher/default_jar.h"

#include "util/case_rules.h"
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

CountedString optionsVariableName(const CountedString& executablePath) {
  return toUpper(baseNameOf(executablePath)) + "_VMOPTIONS";
}
