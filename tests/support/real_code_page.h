// The code page a test run was started for (--expect-code-page=N), 0 when none was named.
#pragma once

#include <cstdint>

namespace test {
extern uint32_t expectedCodePage;
}
