// The main of every benchmark program: the platform's own path style and code page, as the
// launcher's start-up sets them, then the benchmarks.
#include <benchmark/benchmark.h>

#include "util/code_page.h"
#include "util/path_style.h"
#include "util/platform.h"
#include "util/text_services.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  setPathStyle(platformPathStyle());
  setRunConventions(platformRunConventions());
  setActiveCodePage(platformActiveCodePage());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
