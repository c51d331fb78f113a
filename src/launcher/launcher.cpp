#include "launcher/launcher.h"

#include "launcher/launch_plan.h"

int runLauncher() { return carryOut(planLaunch()); }
