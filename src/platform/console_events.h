// The events a console sends a process, and how the launcher may answer one while its program
// runs: values that the launcher's policy (launcher/console_policy.h) hands the platform layer.
#pragma once

#include <cstdint>

enum class ConsoleEvent : uint8_t { kInterrupt, kBreak, kClose, kLogoff, kShutdown };
constexpr int kConsoleEventCount = 5;

enum class ConsoleEventAnswer : uint8_t {
  kKeepWaiting,       // the program shares the console and answers the event itself
  kLiftLimitAndWait,  // the system ends the launcher soon: let the program outlive it
};

/// One answer per event, in the order of ConsoleEvent.
struct ConsoleEventAnswers {
  ConsoleEventAnswer answers[kConsoleEventCount] = {};
  ConsoleEventAnswer operator[](ConsoleEvent event) const {
    return answers[static_cast<int>(event)];
  }
};
