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

// A character as cmd.exe sees it after the line's conversion to UTF-16: a lead byte with its
// second byte, unless that byte is below 0x40, which ends no character in an ANSI code page.
int charLength(const std::string& line, size_t i) {
  const int length = fuzz::charLength(line, i);
  return length == 2 && static_cast<unsigned char>(line[i + 1]) < 0x40 ? 1 : length;
}

// Percent expansion, with every %NAME% pair taken as set, except the one the escape relies on:
// the current folder cut to nothing. A % with no partner stays, and so does the first of two.
// Only a whole character is a %.
std::string expandPercents(const std::string& line) {
  std::string out;
  for (size_t i = 0; i < line.size();) {
    const size_t length = static_cast<size_t>(charLength(line, i));
    size_t close = std::string::npos;
    if (line[i] == '%') {
      for (size_t j = i + 1; j < line.size(); j += static_cast<size_t>(charLength(line, j))) {
        if (line[j] == '%') {
          close = j;
          break;
        }
      }
    }
    if (close == std::string::npos || close == i + 1) {
      out.append(line, i, length);
      i += length;
      continue;
    }
    std::string name = line.substr(i + 1, close - i - 1);
    if (name != "cd:~,") out += "<" + name + ">";
    i = close + 1;
  }
  return out;
}

// Carets and operators, a quote toggling: false when an operator acts; else what runs, carets
// gone.
bool readOperators(const std::string& line, std::string* out) {
  bool inQuotes = false;
  for (size_t i = 0; i < line.size();) {
    const int length = charLength(line, i);
    const char c = line[i];
    if (length == 1 && !inQuotes && c == '^' && i + 1 < line.size()) {
      const int next = charLength(line, i + 1);
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
  // Refused only where a caret would complete a lead byte that ends no character.
  if (lineBreak >= 0) {
    FUZZ_CHECK(lineBreak > 0 && charLength(line, static_cast<size_t>(lineBreak) - 1) == 1 &&
                   fuzz::charLength(line, static_cast<size_t>(lineBreak) - 1) == 2,
               line);
    return 0;
  }
  // cmd /c "LINE": the first and the last quote go, then the line is read.
  std::string given = "\"" + fuzz::str(escaped) + "\"";
  std::string read = expandPercents(given.substr(1, given.size() - 2));
  std::string passed;
  FUZZ_CHECK(readOperators(read, &passed), "an operator acts in " + fuzz::str(escaped));
  FUZZ_CHECK(passed == line, "cmd passes on " + passed + " for " + line);
  return 0;
}
