#include "launcher/java_runtime.h"

#include "platform/file_queries.h"
#include "util/paths.h"
#include "util/run_conventions.h"
#include "util/text_helpers.h"

namespace {

// A release file is a few hundred bytes of KEY="value" lines; more is not a release file.
constexpr int32_t kReleaseLimit = 4096;

// The value of one KEY="value" line of a release file, without its quotes; empty without it.
CountedString releaseValue(const CountedString& text, const char* key) {
  const CountedString start = CountedString(key) + "=";
  for (int32_t at = 0; at < text.length();) {
    int32_t end = text.findChar('\n', at);
    if (end < 0) end = text.length();
    const CountedString line = text.substring(at, end);
    if (startsWith(line, start.data())) {
      CountedString value = withoutQuotes(line.substring(start.length(), line.length()));
      while (!value.empty() && value.byteAt(value.length() - 1) == '\r') {
        value = value.substring(0, value.length() - 1);
      }
      return value;
    }
    at = end + 1;
  }
  return CountedString();
}

CountedString releaseText(const CountedString& home) {
  return fileStart(joinPath(home, "release"), kReleaseLimit);
}

bool isDigit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

}  // namespace

CountedString usableRuntimeHome(const CountedString& recorded) {
  CountedString home = withoutQuotes(recorded);
  if (!home.empty() && endsWithSeparator(home)) {
    CountedString shorter = home.substring(0, home.length() - 1);
    if (isAbsolute(shorter)) home = std::move(shorter);  // "C:\" and "/" keep theirs
  }
  return isAbsolute(home) ? home : CountedString();
}

CountedString programInRuntime(const CountedString& program) {
  return joinPath("bin", runConventions().runsThroughInterpreter ? program + ".exe" : program);
}

CountedString runtimeProgram(const CountedString& home, const CountedString& program) {
  CountedString file = joinPath(home, programInRuntime(program));
  return isRegularFile(file) ? file : CountedString();
}

CountedString runtimeHomeOf(const CountedString& file) {
  const CountedString bin = directoryOf(file);
  return bin.length() > 1 ? directoryOf(bin.substring(0, bin.length() - 1)) : CountedString();
}

CountedString releaseVersion(const CountedString& home) {
  const CountedString text = releaseText(home);
  CountedString version = releaseValue(text, "JAVA_RUNTIME_VERSION");
  return version.empty() ? releaseValue(text, "JAVA_VERSION") : version;
}

CountedString releaseJavaVersion(const CountedString& home) {
  return releaseValue(releaseText(home), "JAVA_VERSION");
}

JavaVersion parseJavaVersion(const CountedString& text) {
  JavaVersion version;
  int32_t at = 0;
  while (at < text.length() && !isDigit(text.byteAt(at))) ++at;
  int part = 0;
  // Numbers joined by single separators: "17-openjdk" ends at the letter, "amd64" is never read.
  while (at < text.length() && isDigit(text.byteAt(at)) && part < JavaVersion::kParts) {
    uint32_t number = 0;
    for (; at < text.length() && isDigit(text.byteAt(at)); ++at) {
      if (number < 100000000) number = number * 10 + (text.byteAt(at) - '0');
    }
    version.parts[part++] = number;
    version.known = true;
    const unsigned char next = at < text.length() ? text.byteAt(at) : 0;
    if (next == '.' || next == '_' || next == '+' || next == '-') ++at;
  }
  // Java 8 and older call themselves 1.8: the number after the 1 is the version.
  if (part > 1 && version.parts[0] == 1) {
    for (int i = 0; i + 1 < JavaVersion::kParts; ++i) version.parts[i] = version.parts[i + 1];
    version.parts[JavaVersion::kParts - 1] = 0;
  }
  return version;
}

bool isLaterVersion(const JavaVersion& a, const JavaVersion& b) {
  if (a.known != b.known) return a.known;
  for (int i = 0; i < JavaVersion::kParts; ++i) {
    if (a.parts[i] != b.parts[i]) return a.parts[i] > b.parts[i];
  }
  return false;
}
