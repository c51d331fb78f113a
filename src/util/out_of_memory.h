// The launcher's answer to exhausted memory: one line and status -1, never a crash.
#pragma once

/// Makes every failed allocation end the process through exitOutOfMemory.
void installOutOfMemoryHandler();

/// Reports "error: out of memory" as every error line is reported (platform.h) and exits with
/// status -1.
[[noreturn]] void exitOutOfMemory();
