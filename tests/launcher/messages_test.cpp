#include "launcher/messages.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace test {
namespace {

// A name from a launch file can hold any byte but a blank: the message stays one line and never
// drives the terminal.
TEST(MessagesTest, ControlBytesInNamesAreEscaped) {
  const std::pair<std::string, std::string> cases[] = {
      {"java", "error: cannot run java: No such file or directory"},
      {"a\nb\tc\rd", "error: cannot run a<LF>b<TAB>c<CR>d: No such file or directory"},
      {"\x1b[31mjava\x7f", "error: cannot run <0x1B>[31mjava<0x7F>: No such file or directory"},
      {std::string("x\0y", 3), "error: cannot run x<0x00>y: No such file or directory"},
      {"C:\\tools", "error: cannot run C:\\tools: No such file or directory"},  // no tab in sight
      {"C:\\\x95\x5c\xe9", "error: cannot run C:\\\x95\x5c\xe9: No such file or directory"},
  };
  for (const auto& c : cases) {
    CountedString name(c.first.data(), static_cast<int32_t>(c.first.size()));
    EXPECT_EQ(toString(cannotRunMessage(name, "No such file or directory")), c.second) << c.first;
  }
}

}  // namespace
}  // namespace test
