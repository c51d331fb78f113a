#include "util/out_of_memory.h"

#include <cstdio>
#include <cstdlib>
#include <new>

void exitOutOfMemory() {
  std::fputs("error: out of memory\n", stderr);
  std::exit(-1);
}

void installOutOfMemoryHandler() {
  std::set_new_handler(exitOutOfMemory);
}
