// Process start-up: the code page, the path style and the facts of the process are taken once,
// before the launcher's own code runs.
#include "launcher/launcher.h"
#include "util/code_page.h"
#include "util/out_of_memory.h"
#include "util/path_style.h"
#include "util/paths.h"
#include "util/platform.h"

int main(int argc, char** argv) {
  installOutOfMemoryHandler();
  setPathStyle(platformPathStyle());
  initActiveCodePage();
  initProcessContext(argc, argv);
  return runLauncher();
}
