#include "launcher/java_search.h"

#include <cstdint>

#include "launcher/java_runtime.h"
#include "launcher/messages.h"
#include "launcher/program_search.h"
#include "platform/file_queries.h"
#include "util/paths.h"
#include "util/run_conventions.h"
#include "util/text_helpers.h"

namespace {

// Who keeps the registry's records that platformRecordedRuntimes reads, for the error line.
constexpr const char kRegistryKeepers[] =
    "JavaSoft, Eclipse Adoptium, Eclipse Foundation, AdoptOpenJDK, Microsoft, Semeru, Zulu";

// SDKMAN keeps the runtime it uses under the user's home.
constexpr const char kSdkmanCurrent[] = ".sdkman/candidates/java/current";

bool windows() { return runConventions().runsThroughInterpreter; }

bool found(CountedString file, const CountedString& source, JavaSearch* search) {
  if (file.empty()) return false;
  search->file = std::move(file);
  search->source = source;
  return true;
}

// Takes the runtime at home when it holds the program.
bool take(const CountedString& home, const CountedString& source, JavaSearch* search) {
  return found(runtimeProgram(home, search->program), source, search);
}

bool takeVariable(const Environment& environment, const char* variable, JavaSearch* search) {
  const CountedString home = usableRuntimeHome(environment.value(variable));
  return !home.empty() && take(home, variable, search);
}

// The one of a list of runtimes that holds the program and has the highest version: the release
// file's, else the one its record names. Of two of one version, the first. -1 when none holds it;
// else its program file in *file.
int highestVersion(const TokenList& homes, const TokenList& versions, const CountedString& program,
                   CountedString* file) {
  int best = -1;
  JavaVersion bestVersion;
  for (size_t i = 0; i < homes.size(); ++i) {
    const CountedString home = usableRuntimeHome(homes[i]);
    CountedString candidate = home.empty() ? home : runtimeProgram(home, program);
    if (candidate.empty()) continue;
    const CountedString released = releaseJavaVersion(home);
    const JavaVersion version = parseJavaVersion(released.empty() ? versions[i] : released);
    if (best < 0 || isLaterVersion(version, bestVersion)) {
      best = static_cast<int>(i);
      bestVersion = version;
      *file = std::move(candidate);
    }
  }
  return best;
}

bool takeFromRegistry(const ProcessFacts& facts, JavaSearch* search) {
  if (facts.recordedRuntimes == nullptr) return false;
  const RecordedRuntimes records = facts.recordedRuntimes();
  CountedString file;
  const int best = highestVersion(records.homes, records.versions, search->program, &file);
  return best >= 0 && found(std::move(file), "registry: " + records.sources[best], search);
}

// The system's runtimes: its default, else the highest version in the folder (a folder's name
// tells its version where no release file does).
bool takeFromRuntimesFolder(const CountedString& folder, JavaSearch* search) {
  if (folder.empty()) return false;
  if (take(joinPath(folder, "default-java"), "default-java", search)) return true;
  const TokenList names = matchingNames(joinPath(folder, "*"));
  TokenList homes;
  for (const CountedString& name : names) homes.append(joinPath(folder, name));
  CountedString file;
  return highestVersion(homes, names, search->program, &file) >= 0 &&
         found(std::move(file), folder, search);
}

bool takeFromSdkman(const Environment& environment, JavaSearch* search) {
  const CountedString home = usableRuntimeHome(environment.value("HOME"));
  return !home.empty() && take(joinPath(home, kSdkmanCurrent), "SDKMAN", search);
}

// The folders of PATH the search reads, as the error line counts them.
int32_t pathFolders(const Environment& environment) {
  if (!windows()) {
    const CountedString path = environment.value("PATH");
    return path.empty() ? 2 : static_cast<int32_t>(listElements(path, ':', true).size());
  }
  int32_t folders = 0;
  for (const CountedString& entry : searchPathDirectories(environment.value("PATH"))) {
    if (!isRelativePathEntry(entry)) ++folders;
  }
  return folders;
}

TokenList placesLooked(const ProcessFacts& facts, const CountedString& program) {
  const Environment& environment = facts.environment;
  const int32_t folders = pathFolders(environment);
  TokenList looked;
  looked.append(notAlongPathPlace(folders));
  looked.append(runtimeVariableState(environment, "JAVA_HOME", program));
  if (!environment.value("JDK_HOME").empty()) {
    looked.append(runtimeVariableState(environment, "JDK_HOME", program));
  }
  if (windows()) {
    looked.append(registryPlace(kRegistryKeepers));
  } else {
    looked.append(runtimeFoldersPlace(facts.runtimesFolder, kSdkmanCurrent));
  }
  return looked;
}

CountedString alongPath(const CountedString& word, const Environment& environment) {
  return windows() ? findAlongPath(word, environment) : findLikeExecvp(word, environment);
}

bool takeFromSystem(const ProcessFacts& facts, JavaSearch* search) {
  if (windows()) return takeFromRegistry(facts, search);
  return takeFromRuntimesFolder(facts.runtimesFolder, search) ||
         takeFromSdkman(facts.environment, search);
}

}  // namespace

CountedString javaProgramNamed(const CountedString& word) {
  if (!windows()) return word == "java" ? word : CountedString();
  for (const char* name : {"java", "java.exe", "javaw", "javaw.exe"}) {
    if (sameNoCase(word, name)) return name[4] == 'w' ? "javaw" : "java";
  }
  return CountedString();
}

JavaSearch findJava(const CountedString& word, const ProcessFacts& facts) {
  JavaSearch search;
  search.program = javaProgramNamed(word);
  const Environment& environment = facts.environment;
  search.file = alongPath(word, environment);
  search.alongPath = !search.file.empty();
  if (search.alongPath) {
    search.source = "PATH";
  } else if (!takeVariable(environment, "JAVA_HOME", &search) &&
             !takeVariable(environment, "JDK_HOME", &search) && !takeFromSystem(facts, &search)) {
    search.looked = placesLooked(facts, search.program);
    return search;
  }
  search.version = releaseVersion(runtimeHomeOf(search.file));
  return search;
}

CountedString runtimeVariableState(const Environment& environment, const char* variable,
                                   const CountedString& program) {
  const CountedString value = environment.value(variable);
  const CountedString home = usableRuntimeHome(value);
  if (!home.empty() && !runtimeProgram(home, program).empty()) return CountedString();
  return runtimeVariablePlace(variable, value, home.empty(), programInRuntime(program));
}
