#include "util/out_of_memory.h"

#include <cstdlib>
#include <new>

#include "util/platform.h"

void exitOutOfMemory() {
  // Showing the line may need memory itself (the windowed launcher's dialog): once is enough.
  static bool reporting = false;
  if (!reporting) {
    reporting = true;
    platformReportError("error: out of memory");
  }
  std::exit(-1);
}

void installOutOfMemoryHandler() {
  std::set_new_handler(exitOutOfMemory);
}
