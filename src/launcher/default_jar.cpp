#include "launcher/default_jar.h"

#include "util/case_rules.h"
#include "util/path_style.h"
#include "util/paths.h"
#include "util/run_conventions.h"

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

// The name the jar and the options variable follow: without its last extension on Windows, the
// whole file name where names are used whole.
CountedString applicationName(const CountedString& executablePath) {
  if (!runConventions().usesWholeNames) return baseNameOf(executablePath);
  return executablePath.substring(directoryOf(executablePath).length(), executablePath.length());
}

bool isShellNameByte(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '_';
}

}  // namespace

CommandForm defaultJarForm(const CountedString& jarPath, const CountedString& options,
                           const CountedString& tail) {
  // The options are the user's or administrator's text and act as such; the jar's path and the
  // user's arguments are data.
  const CountedString none;
  return {{PieceKind::kGlued, "java", none},
          {PieceKind::kGlued, " " + options + " -jar \"", none},
          {PieceKind::kGlued, jarPath, allData(jarPath)},
          {PieceKind::kGlued, "\" ", none},
          {PieceKind::kArguments, tail, allData(tail)}};
}

TokenList defaultJarCandidates(const CountedString& executablePath, CountedString* jarName) {
  const char separator[2] = {pathStyle().directorySeparator, 0};
  CountedString directory = directoryOf(executablePath);
  *jarName = applicationName(executablePath) + ".jar";
  TokenList candidates;
  for (int i = 0; i < kSearchEntries; ++i) {
    // The directory ends with its separator, so the empty entry leaves two in a row.
    candidates.append(directory + searchEntry(i) + separator + *jarName);
  }
  return candidates;
}

CountedString optionsVariableName(const CountedString& executablePath) {
  return toUpper(applicationName(executablePath)) + "_VMOPTIONS";
}

CountedString shellVariableName(const CountedString& name) {
  CountedString result(name);
  for (int32_t i = 0; i < result.length(); ++i) {
    if (!isShellNameByte(result.byteAt(i))) result.mutableData()[i] = '_';
  }
  return result;
}

CountedString defaultJarOptions(const CountedString& executablePath,
                                const Environment& environment, CountedString* variableName) {
  *variableName = optionsVariableName(executablePath);
  CountedString options = environment.value(*variableName);
  if (!options.empty() || !runConventions().usesWholeNames) return options;
  // "tool-1.2" gives TOOL-1.2_VMOPTIONS, which no shell can export: TOOL_1_2_VMOPTIONS can.
  *variableName = shellVariableName(*variableName);
  return environment.value(*variableName);
}
