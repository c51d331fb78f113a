#include "fuzz_support.h"

#include "launcher/pipeline.h"
#include "launchfile/macros.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <initializer_list>
#include <set>

#include "launcher/interpreter_escape.h"
#include "launcher/pipeline.h"
#include "launchfile/arguments_tail.h"
#include "launchfile/command_line.h"
#include "launchfile/macros.h"
#include "launchfile/reader.h"
#include "platform/file_queries.h"
#include "util/argument_split.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/paths.h"
#include "util/run_conventions.h"

namespace fuzz {

namespace {

constexpr uint32_t kCodePages[] = {932, 936, 949, 950, 1361, 0};
constexpr int kCodePageCount = sizeof kCodePages / sizeof kCodePages[0];

std::string fixture;

bool isLead(unsigned char byte) { return (activeCodePage().byteClasses[byte] & kLeadByte) != 0; }

bool isSpace(unsigned char byte) { return byte == ' ' || (byte >= 0x09 && byte <= 0x0D); }

void touch(const std::string& path) {
  if (FILE* file = fopen(path.c_str(), "wb")) fclose(file);
}

void removeFixture() {
  if (fixture.empty()) return;
  nftw(fixture.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
       FTW_DEPTH | FTW_PHYS);
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string show(const std::vector<std::string>& list) {
  std::string text;
  for (const std::string& item : list) text += "[" + item + "]";
  return text;
}

}  // namespace

void fail(const char* what, const std::string& detail) {
  fprintf(stderr, "invariant broken: %s\n  %s\n", what, detail.c_str());
  abort();
}

ProcessFacts& facts() {
  static ProcessFacts instance;
  return instance;
}

void chooseTextSettings(uint8_t selector) {
  setActiveCodePage(builtinCodePage(kCodePages[selector % kCodePageCount]));
  bool windows = (selector / kCodePageCount) % 2 == 0;
  setPathStyle(windows ? PathStyle::windows() : PathStyle::posix());
  setRunConventions(windows ? RunConventions::windows() : RunConventions::posix());
  facts().modulePath =
      counted(windows ? "C:\\Tools\\My App\\run.exe" : fixture + "/bin dir/run");
}

void setUpProcessContext() {
  // Memory-backed where there is such a place: on ext4 every rewrite of the launch file flushes
  // at close, which would slow the pipeline target a hundredfold.
  for (const char* base : {"/dev/shm", "/tmp"}) {
    std::string pattern = std::string(base) + "/kestrelune-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) {
      fixture = pattern;
      break;
    }
  }
  if (fixture.empty()) fail("mkdtemp", "");
  atexit(removeFixture);
  for (const char* directory : {"/My Dir", "/bin dir", "/lib", "/lib/ext"}) {
    mkdir((fixture + directory).c_str(), 0755);
  }
  for (const char* file : {"/lib/a.jar", "/lib/b.jar", "/lib/.hidden.jar", "/My Dir/x y.jar"}) {
    touch(fixture + file);
  }
  if (chdir(fixture.c_str()) != 0) fail("chdir", fixture);
  facts().commandLine = counted("\"run\" -v \"my file.txt\" %OPTS% lib/*.jar");
  facts().arguments = {"-v", "my file.txt", "%OPTS%", "lib/*.jar"};  // as a shell hands them on
  TokenList environment;
  for (const std::string& entry :
       {std::string("OPTS=-Xmx64m -Dmode=fast"), "HOMEDIR=" + fixture + "/My Dir",
        std::string("EMPTY="), std::string("QUOTE=a\"b c\""), std::string("PCT=%OPTS% 100%"),
        std::string("LEAD=x\x81"), std::string("Path=a;b:c"), std::string("*=star"),
        std::string("@=at"), std::string("WILD=lib/*.jar;lib\\*"), std::string("=C:=C:\\")}) {
    environment.append(counted(entry));
  }
  facts().environment = Environment(environment);
  chooseTextSettings(0);
}

const std::string& fixtureDirectory() { return fixture; }

std::string str(const CountedString& text) { return std::string(text.data(), text.length()); }

CountedString counted(const std::string& text) {
  return CountedString(text.data(), static_cast<int32_t>(text.size()));
}

std::vector<std::string> piecesBetweenZeros(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == 0) {
      if (i > start) pieces.emplace_back(reinterpret_cast<const char*>(data + start), i - start);
      start = i + 1;
    }
  }
  return pieces;
}

int charLength(const std::string& text, size_t i) {
  return isLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() && text[i + 1] != 0 ? 2
                                                                                                 : 1;
}

std::string withoutQuotes(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    int length = charLength(text, i);
    if (text[i] != '"') out.append(text, i, static_cast<size_t>(length));
    i += static_cast<size_t>(length);
  }
  return out;
}

int interpreterCharLength(const std::string& text, size_t i) {
  const int length = charLength(text, i);
  return length == 2 && static_cast<unsigned char>(text[i + 1]) < 0x40 ? 1 : length;
}

bool endsInLoneLeadByte(const std::string& text) {
  bool lone = false;
  for (size_t i = 0; i < text.size();) {
    int length = charLength(text, i);
    lone = length == 1 && isLead(static_cast<unsigned char>(text[i]));
    i += static_cast<size_t>(length);
  }
  return lone;
}

std::vector<std::string> referenceSplitTokens(const std::string& text) {
  size_t end = text.find('\0');
  if (end == std::string::npos) end = text.size();
  std::vector<std::string> tokens;
  bool inQuotes = false;
  size_t start = 0;
  size_t i = 0;
  while (i < end) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (!inQuotes && isSpace(byte)) {
      if (start < i) tokens.push_back(text.substr(start, i - start));
      start = ++i;
      continue;
    }
    if (byte == '"') inQuotes = !inQuotes;
    i += isLead(byte) && i + 1 < end ? 2 : 1;
  }
  if (start < end) tokens.push_back(text.substr(start, end - start));
  return tokens;
}

namespace {

// Position of the first single-byte c at a character boundary from `from`, or npos; a lead byte
// with nothing after it ends the search.
size_t findCharacter(const std::string& text, size_t from, char c) {
  for (size_t i = from; i < text.size();) {
    if (isLead(static_cast<unsigned char>(text[i]))) {
      if (i + 1 == text.size()) return std::string::npos;
      i += 2;
    } else if (text[i] == c) {
      return i;
    } else {
      ++i;
    }
  }
  return std::string::npos;
}

std::string variable(const std::string& name) { return str(facts().environment.value(counted(name))); }

}  // namespace

std::string referenceExpandMacros(const std::string& token) {
  size_t n = token.size();
  if (n > 2 && token[0] == '%' && findCharacter(token, 1, '%') == n - 1) {
    std::string value = variable(token.substr(1, n - 2));
    return pathExists(counted(value)) ? quoted(value) : value;
  }
  std::string out;
  bool inQuotes = false;
  for (size_t i = 0; i < n;) {
    if (inQuotes || token[i] != '%') {
      int length = charLength(token, i);
      out.append(token, i, static_cast<size_t>(length));
      if (token[i] == '"') inQuotes = !inQuotes;
      i += static_cast<size_t>(length);
      continue;
    }
    char next = i + 1 < n ? token[i + 1] : 0;
    if (next == '%') {
      out += '%';
      i += 2;
    } else if (next == '*') {
      out += str(argumentsTail(facts()).text);
      i += 2;
    } else if (next == '@') {
      out += quoted(str(directoryOf(facts().modulePath)));
      i += 2;
    } else {
      size_t close = findCharacter(token, i + 1, '%');
      if (close == std::string::npos) {
        out.append(token, i, std::string::npos);
        break;
      }
      out += quoted(variable(token.substr(i + 1, close - i - 1)));
      i = close + 1;
    }
  }
  return out;
}

std::vector<std::string> referenceSplitPathList(const std::string& token, bool* hadSeparator) {
  const char separator = pathStyle().listSeparator;
  std::vector<std::string> pieces;
  *hadSeparator = false;
  bool inQuotes = false;
  size_t start = 0;
  for (size_t i = 0; i < token.size();) {
    if (!inQuotes && token[i] == separator) {
      *hadSeparator = true;
      if (i > start) pieces.push_back(token.substr(start, i - start));
      start = ++i;
      continue;
    }
    if (token[i] == '"') inQuotes = !inQuotes;
    i += static_cast<size_t>(charLength(token, i));
  }
  if (token.size() > start) pieces.push_back(token.substr(start));
  return pieces;
}

std::string referenceUnquote(const std::string& piece, bool* hasWildcard) {
  std::string out;
  *hasWildcard = false;
  bool inQuotes = false;
  for (size_t i = 0; i < piece.size();) {
    int length = charLength(piece, i);
    if (piece[i] == '"') {
      inQuotes = !inQuotes;
    } else {
      out.append(piece, i, static_cast<size_t>(length));
      if (!inQuotes && (piece[i] == '?' || piece[i] == '*')) *hasWildcard = true;
    }
    i += static_cast<size_t>(length);
  }
  return out;
}

namespace {

// A model of how cmd.exe reads the line after /c, in the documented order of its reading (Wine's
// cmd.exe reads carets and percents in another order, so it cannot stand in for it): percent
// expansion over the whole line first, then carets, quotes and operators. Not modelled: a pipe's
// sides, which cmd may read once more when one is its own command or a block.

// One character as cmd.exe reads it, and whether it is data: then it never acts (the reading the
// launch file means, where each data byte passes as it stands).
struct Atom {
  std::string bytes;
  bool data;
};

void split(const std::string& text, bool data, std::vector<Atom>* atoms) {
  for (size_t i = 0; i < text.size();) {
    const size_t length = static_cast<size_t>(interpreterCharLength(text, i));
    atoms->push_back({text.substr(i, length), data});
    i += length;
  }
}

// The line as cmd gets it: nothing is known to be data.
std::vector<Atom> charactersOf(const std::string& line) {
  std::vector<Atom> atoms;
  split(line, false, &atoms);
  return atoms;
}

// The line as the launch file means it: a character never spans its text and data.
std::vector<Atom> charactersOf(const std::string& line, const std::string& marks) {
  std::vector<Atom> atoms;
  for (size_t start = 0, end = 0; start < line.size(); start = end) {
    while (end < line.size() && (marks[end] != 0) == (marks[start] != 0)) ++end;
    split(line.substr(start, end - start), marks[start] != 0, &atoms);
  }
  return atoms;
}

// Which variables count as set: every one, none, or by the name's hash, so that the % of a line
// pair up in more than one of the ways cmd can pair them.
enum class Setting { kAll, kNone, kSome };

bool isLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string lowered(std::string text) {
  for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return text;
}

// ownReference: the name lies between two % of the launch file's own text.
bool isSet(const std::string& name, Setting setting, bool ownReference) {
  if (lowered(name) == "cd:~,") return true;  // the current folder, always there
  if (name.empty()) return false;
  // An environment block ends a name at its first = after the first character; after a : come
  // a substring or a substitution of the name before it.
  for (size_t i = 1; i < name.size() && name[i] != ':'; ++i) {
    if (name[i] == '=') return false;
  }
  // Taken as given: a reference that the launch file's own text leaves to cmd holds no quote or
  // caret, and its value is plain text that is never empty (either would change cmd's reading
  // of what follows in a way no escape of the data can know).
  if (ownReference && name.find_first_of("\"^") != std::string::npos) return false;
  if (setting == Setting::kSome) {
    uint32_t hash = 2166136261u;
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return (hash & 1) != 0;
  }
  return setting == Setting::kAll;
}

std::string valueOf(const std::string& name) {
  if (lowered(name) == "cd:~,") return "";  // cut to nothing
  std::string value = "{";
  for (char c : name) value += isLetterOrDigit(c) ? c : '_';
  return value + "}";
}

bool isPercent(const Atom& atom) { return !atom.data && atom.bytes == "%"; }

// A set %NAME% is replaced and both % go; an unset one stays, and its closing % may open the next
// pair. A % with no partner stays; in the meant reading data ends the search for one, so every
// name it looks up is the launch file's own, and *own collects them. In cmd's reading, where
// nothing is known to be data, a name is the launch file's own when the meant reading met it.
std::vector<Atom> expandPercents(const std::vector<Atom>& line, Setting setting, bool meant,
                                 std::set<std::string>* own) {
  std::vector<Atom> out;
  for (size_t i = 0; i < line.size();) {
    size_t close = i + 1;
    if (isPercent(line[i])) {
      while (close < line.size() && !line[close].data && !isPercent(line[close])) ++close;
    }
    if (!isPercent(line[i]) || close == line.size() || line[close].data) {
      out.push_back(line[i++]);
      continue;
    }
    std::string name;
    for (size_t k = i + 1; k < close; ++k) name += line[k].bytes;
    if (meant) own->insert(name);
    if (isSet(name, setting, own->count(name) != 0)) {
      for (char c : valueOf(name)) out.push_back({std::string(1, c), false});
      i = close + 1;
    } else {
      out.insert(out.end(), line.begin() + static_cast<std::ptrdiff_t>(i),
                 line.begin() + static_cast<std::ptrdiff_t>(close));
      i = close;
    }
  }
  return out;
}

// Outside quotes a caret makes the next character literal and goes, and an operator acts (shown
// as a zero byte before it); a quote toggles. What the program is given, with the operators.
std::string readOperators(const std::vector<Atom>& line) {
  std::string out;
  bool inQuotes = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const Atom& atom = line[i];
    const char c = atom.bytes.size() == 1 && !atom.data ? atom.bytes[0] : 'x';
    if (!inQuotes && c == '^' && i + 1 < line.size()) {
      out += line[++i].bytes;
      continue;
    }
    if (!inQuotes && std::string("&|<>()").find(c) != std::string::npos) out += '\0';
    if (c == '"') inQuotes = !inQuotes;
    out += atom.bytes;
  }
  return out;
}

std::string visible(std::string text) {
  for (size_t at = text.find('\0'); at != std::string::npos; at = text.find('\0', at)) {
    text.replace(at, 1, "{acts}");
  }
  return text;
}

bool launchFileHas(const std::string& line, const std::string& marks, size_t from,
                   const char* characters) {
  for (size_t i = from; i < line.size(); ++i) {
    if (marks[i] == 0 && std::strchr(characters, line[i]) != nullptr) return true;
  }
  return false;
}

// A refused byte is data, in one of the places the rules name.
void checkRefusal(const std::string& line, const std::string& marks, size_t at,
                  EscapeRefusal why) {
  FUZZ_CHECK(at < line.size() && marks[at] != 0, "refused the launch file's own text: " + line);
  const std::string where = line + " at " + std::to_string(at);
  switch (why) {
    case EscapeRefusal::kLineBreak:
      FUZZ_CHECK(line[at] == '\r' || line[at] == '\n', where);
      break;
    case EscapeRefusal::kBrokenCharacter:  // a caret would complete a lead byte before it
      FUZZ_CHECK(at > 0 && interpreterCharLength(line, at - 1) == 1 && charLength(line, at - 1) == 2,
                 where);
      break;
    case EscapeRefusal::kVariable: {  // between a % of the launch file and the next %
      const size_t open = line.rfind('%', at - 1);
      FUZZ_CHECK(at > 0 && open != std::string::npos && marks[open] == 0 &&
                     line.find('%', at) != std::string::npos,
                 where);
      break;
    }
    case EscapeRefusal::kLaunchFileText: {
      // Half a character whose second byte is cmd's own, or a quote that ends cmd's quotes
      // before the launch file's ^ or operators.
      const bool half = interpreterCharLength(line, at) == 2 && marks[at + 1] == 0 &&
                        (line[at + 1] == '^' || line[at + 1] == '|');
      const bool quote = line[at] == '"' && launchFileHas(line, marks, at + 1, "^&|<>()");
      FUZZ_CHECK(half || quote, where);
      break;
    }
  }
}

}  // namespace

void checkInterpreterReading(const std::string& line, const std::string& marks) {
  CountedString escaped;
  EscapeRefusal why = EscapeRefusal::kLineBreak;
  const int32_t at = escapeForInterpreter(counted(line), counted(marks), &escaped, &why);
  if (at >= 0) {
    checkRefusal(line, marks, static_cast<size_t>(at), why);
    return;
  }
  // cmd /s /c "LINE" takes off the outer quotes and reads the line as it stands.
  const std::vector<Atom> given = charactersOf(str(escaped));
  const std::vector<Atom> meant = charactersOf(line, marks);
  for (Setting setting : {Setting::kAll, Setting::kNone, Setting::kSome}) {
    std::set<std::string> own;
    const std::string wanted = readOperators(expandPercents(meant, setting, true, &own));
    const std::string read = readOperators(expandPercents(given, setting, false, &own));
    FUZZ_CHECK(read == wanted, "cmd reads " + visible(read) + " in " + str(escaped) +
                                   ", meant " + visible(wanted) + " for " + line);
  }
}

void checkTokens(const TokenList& tokens, const char* stage) {
  for (const CountedString& token : tokens) {
    if (isArgumentsSlot(token)) continue;  // the one token that is a zero byte, on purpose
    FUZZ_CHECK(!token.empty(), stage);
    FUZZ_CHECK(std::memchr(token.data(), 0, static_cast<size_t>(token.length())) == nullptr,
               std::string(stage) + ": " + str(token));
    FUZZ_CHECK(token.data()[token.length()] == 0, stage);
  }
}

void checkSplit(const std::string& text, const TokenList& tokens) {
  std::vector<std::string> actual;
  for (const CountedString& token : tokens) actual.push_back(str(token));
  FUZZ_CHECK(actual == referenceSplitTokens(text), show(actual) + " from " + text);
  for (const CountedString& token : tokens) {
    TokenList again = splitTokens(token);
    FUZZ_CHECK(again.size() == 1 && again[0] == token, "re-split of " + str(token));
  }
}

void checkRoundTrip(const TokenList& finalTokens, const CountedString& commandLine) {
  std::vector<std::string> expected;
  bool malformed = false;
  for (const CountedString& token : finalTokens) {
    if (isArgumentsSlot(token)) {  // the launcher's arguments, each exactly
      for (const CountedString& argument : facts().arguments) expected.push_back(str(argument));
      continue;
    }
    std::string bare = withoutQuotes(str(token));
    if (endsInLoneLeadByte(bare)) {
      malformed = true;
      break;
    }
    if (!bare.empty()) expected.push_back(bare);  // an empty token leaves only a blank
  }
  // Windows: the line as the child's C runtime splits it. POSIX: the arguments the launcher makes.
  TokenList split = runConventions().doublesTrailingBackslashes
                        ? splitWindowsArguments(commandLine)
                        : commandOf(launchFileForm(finalTokens, nullptr, facts()), facts()).arguments;
  std::vector<std::string> actual;
  for (const CountedString& argument : split) actual.push_back(str(argument));
  if (malformed && actual.size() > expected.size()) actual.resize(expected.size());
  FUZZ_CHECK(actual == expected,
             "line " + str(commandLine) + " gave " + show(actual) + ", wanted " + show(expected));
}

}  // namespace fuzz
