// What the launcher does when its console sends an event while the program runs. The launcher
// stands in for its program until the program ends, so no event ends it early.
#pragma once

enum class ConsoleEvent { kInterrupt, kBreak, kClose, kLogoff, kShutdown };

enum class ConsoleEventAnswer {
  kKeepWaiting,       // the program shares the console and answers the event itself
  kLiftLimitAndWait,  // the system ends the launcher soon: let the program outlive it
};

/// Ctrl-C and Ctrl-Break reach the program, which decides; a log-off or shutdown that reaches a
/// launcher under a service is another user's and changes nothing. Closing the console window
/// ends the launcher after its handler returns, so the program must not be taken with it before
/// its own close handling has had the time the system gives it.
constexpr ConsoleEventAnswer answerTo(ConsoleEvent event) {
  return event == ConsoleEvent::kClose ? ConsoleEventAnswer::kLiftLimitAndWait
                                       : ConsoleEventAnswer::kKeepWaiting;
}
