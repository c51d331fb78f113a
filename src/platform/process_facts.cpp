#include "platform/process_facts.h"

#include "platform/platform.h"
#include "platform/text_services.h"
#include "util/code_page.h"
#include "util/out_of_memory.h"
#include "util/path_style.h"
#include "util/run_conventions.h"

ProcessFacts takeProcessFacts(int argc, char** argv) {
  setPathStyle(platformPathStyle());
  setRunConventions(platformRunConventions());
  setActiveCodePage(platformActiveCodePage());
  setOutOfMemoryReport([](const char* line) { platformReportError(line); });
  ProcessFacts facts;
  facts.modulePath = platformModulePath();
  facts.commandLine = platformCommandLine(argc, argv, &facts.replacedCharacters);
  for (int i = 1; i < argc; ++i) facts.arguments.append(CountedString(argv[i]));
  facts.environment = Environment(platformEnvironment());
  facts.windowed = platformIsWindowed();
  facts.recordedRuntimes = platformRecordedRuntimes;
  if (!runConventions().runsThroughInterpreter) facts.runtimesFolder = "/usr/lib/jvm";
  return facts;
}
