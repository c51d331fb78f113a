#include "util/out_of_memory.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

void writeToStandardError(const char* line) {
  std::fputs(line, stderr);
  std::fputc('\n', stderr);
}

void (*reportLine)(const char* line) = writeToStandardError;

}  // namespace

void setOutOfMemoryReport(void (*report)(const char* line)) { reportLine = report; }

void exitOutOfMemory() {
  // Showing the line may need memory itself (the windowed launcher's dialog): once is enough.
  static bool reporting = false;
  if (!reporting) {
    reporting = true;
    reportLine("error: out of memory");
  }
  std::exit(-1);
}

void installOutOfMemoryHandler() {
  std::set_new_handler(exitOutOfMemory);
}
