// How long a line Windows runs: what every part that measures the line compares with.
#pragma once

#include <cstdint>

/// The most characters CreateProcess takes in a command line (measured under Wine: 32,767 fails),
/// and the most an environment variable holds.
constexpr int32_t kWindowsLineLimit = 32766;
/// The most characters cmd.exe runs after /c.
constexpr int32_t kInterpreterLineLimit = 8191;
