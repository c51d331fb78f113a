// What the launcher does when its console sends an event while the program runs. The launcher
// stands in for its program until the program ends, so no event ends it early.
#pragma once

#include "platform/console_events.h"

/// Ctrl-C and Ctrl-Break reach the program, which decides; a log-off or shutdown that reaches a
/// launcher under a service is another user's and changes nothing. Closing the console window
/// ends the launcher after its handler returns, so the program must not be taken with it before
/// its own close handling has had the time the system gives it.
constexpr ConsoleEventAnswer answerTo(ConsoleEvent event) {
  return event == ConsoleEvent::kClose ? ConsoleEventAnswer::kLiftLimitAndWait
                                       : ConsoleEventAnswer::kKeepWaiting;
}

/// The answer to every event, for the platform layer.
constexpr ConsoleEventAnswers consoleEventAnswers() {
  ConsoleEventAnswers table;
  for (int i = 0; i < kConsoleEventCount; ++i) {
    table.answers[i] = answerTo(static_cast<ConsoleEvent>(i));
  }
  return table;
}
