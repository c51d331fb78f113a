// The whole launch-file pipeline (read, macros, path lists, assembly) on a typical ten-token
// launch file, and on the same line ten times over, so that the two rates show linear growth.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "launcher/pipeline.h"
#include "util/paths.h"

namespace {

namespace fs = std::filesystem;

// Ten tokens: the options an application's packager typically writes, a class path of every jar
// in lib/ plus the classes directory, the user's options variable, the main class, the arguments.
const char kTypicalLine[] =
    "java -Xmx512m -Dapp.home=%@ -Dapp.name=hello -cp %@lib/*.jar:%@classes"
    " -Dfile.encoding=UTF-8 %JAVA_OPTS% com.example.Hello %*\n";
constexpr int kTokensPerLine = 10;
constexpr int kJars = 20;

/// An application directory: the launcher hello, hello.kestrelune with lines copies of the typical
/// line, lib/ with kJars jars beside them. Removed when the object goes.
class Application {
 public:
  explicit Application(int lines)
      : root_(fs::temp_directory_path() / ("kestrelune-pipeline-" + std::to_string(getpid()) +
                                           "-" + std::to_string(lines))) {
    fs::create_directories(root_ / "lib");
    for (int i = 0; i < kJars; ++i) std::ofstream(root_ / "lib" / ("library-" + std::to_string(i) + ".jar"));
    std::ofstream launchFile(root_ / "hello.kestrelune", std::ios::binary);
    for (int i = 0; i < lines; ++i) launchFile << kTypicalLine;
  }
  ~Application() { fs::remove_all(root_); }
  std::string launcher() const { return (root_ / "hello").string(); }

 private:
  fs::path root_;
};

void BM_TypicalPipeline(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  Application application(lines);
  CountedString launcher(application.launcher().c_str());
  ProcessFacts facts;
  facts.modulePath = launcher;
  facts.commandLine = ("\"" + application.launcher() + "\" --name \"World Wide\" -v").c_str();
  facts.arguments = {"--name", "World Wide", "-v"};
  facts.environment = Environment({"PATH=/usr/local/bin:/usr/bin:/bin", "HOME=/home/user",
                                   "LANG=C.UTF-8", "JAVA_OPTS=-XX:+UseSerialGC -Xss1m"});
  CountedString launchFile = launchFilePath(launcher);
  size_t length = 0;
  for (auto _ : state) {
    LaunchFileStages stages;
    if (!buildLaunchFileCommand(launchFile, facts, &stages)) {
      state.SkipWithError("cannot open the launch file");
      break;
    }
    CountedString line = commandOf(stages.form, facts).line;
    length = static_cast<size_t>(line.length());
    benchmark::DoNotOptimize(line.data());
  }
  state.SetItemsProcessed(state.iterations() * lines * kTokensPerLine);
  state.counters["line_bytes"] = static_cast<double>(length);
}
BENCHMARK(BM_TypicalPipeline)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

}  // namespace
