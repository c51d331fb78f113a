// escapeForInterpreter on a line whose every byte comes marked: data (any byte but a line break)
// or the launch file's own text (letters, digits, blanks, backslashes and quotes, nothing cmd.exe
// acts on). A model of how cmd.exe reads the line after /c, in its documented order, must pass
// on exactly the unescaped line: no data byte expands, escapes, redirects or joins a command.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "launcher/interpreter_escape.h"

namespace {

// Percent expansion, with every %NAME% pair taken as set, except the one the escape relies on:
// the current folder cut to nothing. A % with no partner stays, and so does the first of two.
std::string expandPercents(const std::string& line) {
  std::string out;
  for (size_t i = 0; i < line.size();) {
    size_t close = line[i] == '%' ? line.find('%', i + 1) : std::string::npos;
    if (close == std::string::npos || close == i + 1) {
      out += line[i++];
      continue;
    }
    std::string name = line.substr(i + 1, close - i - 1);
    if (name != "cd:~,") out += "<" + name + ">";
    i = close + 1;
  }
  return out;
}

// Carets and operators, a quote toggling: false when an operator acts; else what runs, carets
// gone. Characters are whole, so a second byte is never an operator.
bool readOperators(const std::string& line, std::string* out) {
  bool inQuotes = false;
  for (size_t i = 0; i < line.size();) {
    const int length = fuzz::charLength(line, i);
    const char c = line[i];
    if (length == 1 && !inQuotes && c == '^' && i + 1 < line.size()) {
      const int next = fuzz::charLength(line, i + 1);
      out->append(line, i + 1, static_cast<size_t>(next));  // escaped: it toggles nothing
      i += 1 + static_cast<size_t>(next);
      continue;
    }
    if (length == 1 && !inQuotes && std::string("&|<>()").find(c) != std::string::npos) {
      return false;
    }
    if (length == 1 && c == '"') inQuotes = !inQuotes;
    out->append(line, i, static_cast<size_t>(length));
    i += static_cast<size_t>(length);
  }
  return true;
}

bool isHarmless(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == ' ' || c == '\\' || c == '"';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  fuzz::chooseTextSettings(data[0]);
  // Each byte's low bit says data or not; the launch file's own bytes are made harmless.
  std::string line, marks;
  for (size_t i = 1; i + 1 < size; i += 2) {
    const bool isData = (data[i] & 1) != 0;
    unsigned char c = data[i + 1];
    if (c == 0 || c == '\r' || c == '\n' || (!isData && !isHarmless(c))) c = 'x';
    line += static_cast<char>(c);
    marks += isData ? '\1' : '\0';
  }
  CountedString escaped;
  int32_t lineBreak = escapeForInterpreter(fuzz::counted(line), fuzz::counted(marks), &escaped);
  FUZZ_CHECK(lineBreak == -1, line);
  // cmd /c "LINE": the first and the last quote go, then the line is read.
  std::string given = "\"" + fuzz::str(escaped) + "\"";
  std::string read = expandPercents(given.substr(1, given.size() - 2));
  std::string passed;
  FUZZ_CHECK(readOperators(read, &passed), "an operator acts in " + fuzz::str(escaped));
  FUZZ_CHECK(passed == line, "cmd passes on " + passed + " for " + line);
  return 0;
}
