// The launcher's answer to exhausted memory: one line and status -1, never a crash.
#pragma once

/// Makes every failed allocation end the process through exitOutOfMemory.
void installOutOfMemoryHandler();

/// Writes "error: out of memory" to the standard error stream and exits with status -1.
[[noreturn]] void exitOutOfMemory();
