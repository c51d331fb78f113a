// Process start-up: the code page, the styles and the facts of the process are taken once, before
// the launcher's own code runs.
#include <cstdlib>
#include <new>

#include "launcher/launcher.h"
#include "platform/process_facts.h"
#include "util/out_of_memory.h"

// The launcher's allocation: the C heap, and the one out-of-memory line when it is exhausted. The
// library's operator new would throw bad_alloc instead, and with it come the whole exception and
// terminate machinery (some 150 KB of the Windows exe) that a launcher built without exceptions
// never needs.
void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) exitOutOfMemory();
  return block;
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

int main(int argc, char** argv) {
  return runLauncher(takeProcessFacts(argc, argv));
}
