#include "util/class_version_text.h"

#include <cstdint>
#include <cstring>

#include "util/text_helpers.h"

namespace {

constexpr const char kError[] = "java.lang.UnsupportedClassVersionError: ";
// Java 8 and later name both versions; Java 7 and older only the one the class file has.
constexpr const char kNewer[] =
    " has been compiled by a more recent version of the Java Runtime (class file version ";
constexpr const char kUpTo[] =
    "), this version of the Java Runtime only recognizes class file versions up to ";
constexpr const char kOlder[] = "Unsupported major.minor version ";
// A class file holds each version in two bytes; the greatest minor marks a preview's class file.
constexpr int32_t kLargest = 65535;
constexpr int32_t kPreviewMinor = 65535;
// From Java 5 (49) on, a major version less 44 is the release's number; Java 8 (52) first wrote
// both versions.
constexpr int32_t kReleaseOffset = 44;
constexpr int32_t kFirstMajor = 49;
constexpr int32_t kFirstNamingBoth = 52;

struct JavaVersions {
  int32_t needed = 0;
  int32_t running = 0;  // 0: older than needed, not said which
};

// The text in the error's line, from its marker to the line's end.
CountedString errorLine(const CountedString& text, int32_t at) {
  int32_t end = at;
  while (end < text.length() && text.byteAt(end) != '\n' && text.byteAt(end) != '\r') ++end;
  return text.substring(at, end);
}

// Moves *at past text's word there, when there is that word.
bool skip(const CountedString& text, const char* word, int32_t* at) {
  const size_t length = std::strlen(word);
  if (static_cast<size_t>(text.length() - *at) < length ||
      std::memcmp(text.data() + *at, word, length) != 0) {
    return false;
  }
  *at += static_cast<int32_t>(length);
  return true;
}

// A decimal number up to kLargest; more digits than its five read as none.
bool readNumber(const CountedString& text, int32_t* at, int32_t* value) {
  int32_t digits = 0;
  *value = 0;
  for (; *at < text.length() && text.byteAt(*at) >= '0' && text.byteAt(*at) <= '9'; ++*at) {
    if (++digits > 5) return false;
    *value = *value * 10 + (text.byteAt(*at) - '0');
  }
  return digits > 0 && *value <= kLargest;
}

// "MAJOR.MINOR" at *at, as a release number; false for a preview or a major before Java 5.
bool readRelease(const CountedString& text, int32_t* at, int32_t* release) {
  int32_t major = 0;
  int32_t minor = 0;
  if (!readNumber(text, at, &major) || !skip(text, ".", at) || !readNumber(text, at, &minor) ||
      minor == kPreviewMinor || major < kFirstMajor) {
    return false;
  }
  *release = major - kReleaseOffset;
  return true;
}

bool readVersions(const CountedString& line, JavaVersions* versions) {
  int32_t at = line.find(kNewer);
  if (at >= 0) {
    at += static_cast<int32_t>(std::strlen(kNewer));
    return readRelease(line, &at, &versions->needed) && skip(line, kUpTo, &at) &&
           readRelease(line, &at, &versions->running) &&
           versions->running >= kFirstNamingBoth - kReleaseOffset &&
           versions->running < versions->needed;
  }
  at = line.find(kOlder);
  if (at < 0) return false;
  at += static_cast<int32_t>(std::strlen(kOlder));
  versions->running = 0;
  return readRelease(line, &at, &versions->needed);
}

}  // namespace

CountedString javaTooOldWords(const CountedString& errorOutput, const CountedString& programFile) {
  JavaVersions versions;
  int32_t at = errorOutput.find(kError);
  while (at >= 0 && !readVersions(errorLine(errorOutput, at), &versions)) {
    at = errorOutput.find(kError, at + 1);
  }
  if (at < 0) return CountedString();
  const CountedString ran = programFile.empty() ? CountedString("java") : programFile;
  const CountedString running =
      versions.running == 0 ? CountedString("older") : "Java " + decimalText(versions.running);
  return "needs Java " + decimalText(versions.needed) + " or later; the Java that ran (" + ran +
         ") is " + running + ".";
}
