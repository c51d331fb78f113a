#include "launcher/launcher.h"

#include "launcher/launch_plan.h"

int runLauncher(const ProcessFacts& facts) { return runPlan(planLaunch(facts)); }
