// The launcher's spine: from the facts of the process to the exit status.
#pragma once

#include "platform/process_facts.h"

/// Plans the run that the facts describe (launch file beside the executable, or the default jar
/// launch), carries it out and returns the exit status for the process.
int runLauncher(const ProcessFacts& facts);
