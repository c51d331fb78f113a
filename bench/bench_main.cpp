// The main of every benchmark program: the platform's own path style and code page, as the
// launcher's start-up sets them, then the benchmarks.
#include <benchmark/benchmark.h>

#include "platform/platform.h"
#include "platform/text_services.h"
#include "util/code_page.h"
#include "util/path_style.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  setPathStyle(platformPathStyle());
  setRunConventions(platformRunConventions());
  setActiveCodePage(platformActiveCodePage());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
