// Throughput of the two stages that scale with their input: path-list expansion over a directory
// of many jars, and command-line assembly over many tokens. Native only; run by hand.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "launchfile/command_line.h"
#include "launchfile/path_list.h"
#include "util/path_style.h"

namespace {

namespace fs = std::filesystem;

/// A directory of count empty jar files, removed when the object goes.
class JarDirectory {
 public:
  explicit JarDirectory(int count)
      : path_(fs::temp_directory_path() /
              ("kestrelune-bench-" + std::to_string(std::random_device()()))) {
    fs::create_directory(path_);
    for (int i = 0; i < count; ++i) {
      std::ofstream(path_ / ("library-" + std::to_string(i) + ".jar"));
    }
  }
  ~JarDirectory() { fs::remove_all(path_); }
  std::string path() const { return path_.string(); }

 private:
  fs::path path_;
};

void expandClassPath(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  JarDirectory directory(count);
  const std::string list(1, pathStyle().listSeparator);
  const CountedString token((directory.path() + "/*.jar" + list + "classes").c_str());
  for (auto _ : state) {
    CountedString classPath = expandPathList(token);
    benchmark::DoNotOptimize(classPath.data());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(expandClassPath)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void assembleTokens(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TokenList tokens;
  for (int i = 0; i < count; ++i) {
    // Every other token needs enclosing, half of those end in a backslash.
    std::string token = "-Dkey" + std::to_string(i) + "=\"C:\\Program Files\\App\"";
    if (i % 2 == 1) token = "plain-" + std::to_string(i) + (i % 4 == 1 ? "\\" : "");
    tokens.append(CountedString(token.c_str()));
  }
  for (auto _ : state) {
    CountedString line = assembleCommandLine(tokens);
    benchmark::DoNotOptimize(line.data());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(assembleTokens)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
