#include "util/run_conventions.h"

namespace {
RunConventions currentConventions = RunConventions::windows();
}

const RunConventions& runConventions() { return currentConventions; }

void setRunConventions(const RunConventions& conventions) { currentConventions = conventions; }
