// Throughput of the first two launch-file stages: reading plus splitting a generated launch file,
// and macro expansion of its tokens, each at two sizes a factor of ten apart.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "launchfile/macros.h"
#include "launchfile/reader.h"
#include "util/paths.h"

namespace {

// One line of a plausible launch file; CR LF ends, a quoted stretch, macros and plain options.
const char kLine[] =
    "-Dapp.home=%@ -cp \"%@lib\\*.jar;classes\" -Xmx%HEAP%m \"-Dtitle=My App\" com.example.Main"
    " %* 100%% -Dpath=%PATH%\r\n";

std::string generatedText(size_t bytes) {
  std::string text;
  text.reserve(bytes + sizeof kLine);
  while (text.size() < bytes) text += kLine;
  return text;
}

std::string writeLaunchFile(size_t bytes) {
  std::string path = "/tmp/kestrelune-bench-" + std::to_string(getpid()) + "-" +
                     std::to_string(bytes) + ".kestrelune";
  std::string text = generatedText(bytes);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file != nullptr) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  return path;
}

void BM_ReadAndSplit(benchmark::State& state) {
  size_t bytes = static_cast<size_t>(state.range(0)) << 20;
  std::string path = writeLaunchFile(bytes);
  CountedString launchFile(path.c_str());
  size_t tokens = 0;
  for (auto _ : state) {
    TokenList list;
    if (!readLaunchFile(launchFile, &list)) {
      state.SkipWithError("cannot open the generated launch file");
      break;
    }
    tokens = list.size();
    benchmark::DoNotOptimize(list);
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["tokens"] = static_cast<double>(tokens);
}
BENCHMARK(BM_ReadAndSplit)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_ExpandMacros(benchmark::State& state) {
  ProcessFacts facts;
  facts.modulePath = "C:\\Tools\\App\\run.exe";
  facts.commandLine = "\"C:\\Tools\\App\\run.exe\" -v \"my file.txt\"";
  facts.environment =
      Environment({"HEAP=512", "PATH=C:\\Windows\\system32;C:\\Windows", "OPTS=-server"});
  TokenList tokens;
  while (tokens.size() < static_cast<size_t>(state.range(0))) {
    tokens.appendAll(splitTokens(CountedString(kLine)));
  }
  for (auto _ : state) {
    for (const CountedString& token : tokens) benchmark::DoNotOptimize(expandMacros(token, facts));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tokens.size()));
}
BENCHMARK(BM_ExpandMacros)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
