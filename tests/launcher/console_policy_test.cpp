#include "launcher/console_policy.h"

#include <gtest/gtest.h>

namespace {

// Only closing the window lets the program outlive the launcher; everything else keeps waiting
// with the program held in its job.
TEST(ConsolePolicyTest, OnlyTheCloseEventLiftsTheLimit) {
  const std::pair<ConsoleEvent, ConsoleEventAnswer> cases[] = {
      {ConsoleEvent::kInterrupt, ConsoleEventAnswer::kKeepWaiting},
      {ConsoleEvent::kBreak, ConsoleEventAnswer::kKeepWaiting},
      {ConsoleEvent::kClose, ConsoleEventAnswer::kLiftLimitAndWait},
      {ConsoleEvent::kLogoff, ConsoleEventAnswer::kKeepWaiting},
      {ConsoleEvent::kShutdown, ConsoleEventAnswer::kKeepWaiting},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(consoleEventAnswers()[c.first], c.second) << static_cast<int>(c.first);
  }
}

}  // namespace
