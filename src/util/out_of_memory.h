// The launcher's answer to exhausted memory: one line and status -1, never a crash.
#pragma once

/// Makes every failed allocation end the process through exitOutOfMemory.
void installOutOfMemoryHandler();

/// How the line is reported: by default on the standard error stream. Start-up hands in the
/// platform's own report (platform.h), which the windowed launcher shows in a dialog; this file
/// sits below the platform layer, which allocates through it.
void setOutOfMemoryReport(void (*report)(const char* line));

/// Reports "error: out of memory" and exits with status -1.
[[noreturn]] void exitOutOfMemory();
