// escapeForInterpreter on a line whose every byte comes marked: data (any byte but a line break)
// or the launch file's own text (letters, digits, blanks, backslashes and quotes, and the ^ % & : =
// that cmd.exe acts on or reads in a variable's name). A model of how cmd.exe reads the line after
// /c, in its documented order, must read the escaped line as the launch file means it: its own
// carets, percents, quotes and operators acting, no data byte expanding, escaping, redirecting,
// joining a command or completing the launch file's ^ or %; or the escape refuses a data byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"

namespace {

bool isLaunchFileText(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == ' ' || c == '\\' || c == '"' || c == '^' || c == '%' || c == '&' || c == ':' ||
         c == '=';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::chooseTextSettings(data[0]);
  // Each byte's low bit says data or not; the launch file's own bytes come from its alphabet.
  std::string line, marks;
  for (size_t i = 1; i + 1 < size; i += 2) {
    const bool isData = (data[i] & 1) != 0;
    unsigned char c = data[i + 1];
    if (c == 0 || c == '\r' || c == '\n' || (!isData && !isLaunchFileText(c))) c = 'x';
    line += static_cast<char>(c);
    marks += isData ? '\1' : '\0';
  }
  fuzz::checkInterpreterReading(line, marks);
  return 0;
}
