#include "util/paths.h"

#include "util/byte_buffer.h"
#include "util/case_rules.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/platform.h"
#include "util/text_services.h"

namespace {

struct ProcessContext {
  CountedString modulePath;
  CountedString commandLine;
  CountedString replaced;  // empty, or one byte per byte of commandLine: 1 where replaced
  TokenList arguments;
  TokenList environment;
};

ProcessContext& context() {
  static ProcessContext instance;
  return instance;
}

}  // namespace

void initProcessContext(int argc, char** argv) {
  setPathStyle(platformPathStyle());
  setActiveCodePage(platformActiveCodePage());
  setModulePath(platformModulePath());
  CountedString replaced;
  CountedString commandLine = platformCommandLine(argc, argv, &replaced);
  setCommandLine(commandLine, replaced);
  TokenList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(CountedString(argv[i]));
  setLauncherArguments(arguments);
  setEnvironmentTable(platformEnvironment());
}

void setModulePath(const CountedString& path) { context().modulePath = path; }

void setCommandLine(const CountedString& rawCommandLine, const CountedString& replaced) {
  context().commandLine = rawCommandLine;
  context().replaced = replaced;
}

void setLauncherArguments(const TokenList& arguments) { context().arguments = arguments; }

void setEnvironmentTable(const TokenList& entries) {
  TokenList table;
  for (const CountedString& entry : entries) {
    if (entry.byteAt(0) != '=' && !entry.empty()) table.append(entry);
  }
  context().environment = std::move(table);
}

CountedString modulePath() { return context().modulePath; }

CountedString launchFilePath(const CountedString& executablePath) {
  if (pathStyle().usesWholeNames) return executablePath + kLaunchFileExtension;
  int32_t separator = mbFindLastChar(executablePath.data(),
                                     static_cast<unsigned char>(pathStyle().directorySeparator));
  if (separator >= 0) {
    int32_t dot = mbFindLastChar(executablePath.data() + separator, '.');
    if (dot >= 0) return executablePath.substring(0, separator + dot) + kLaunchFileExtension;
  }
  return executablePath + kLaunchFileExtension;
}

CountedString directoryOf(const CountedString& path) {
  const PathStyle& style = pathStyle();
  int32_t end = mbFindLastChar(path.data(), static_cast<unsigned char>(style.directorySeparator));
  if (end < 0 && style.driveSeparator != 0) {
    end = mbFindLastChar(path.data(), static_cast<unsigned char>(style.driveSeparator));
  }
  return end < 0 ? CountedString() : path.substring(0, end + 1);
}

CountedString baseNameOf(const CountedString& path) {
  int32_t separator =
      mbFindLastChar(path.data(), static_cast<unsigned char>(pathStyle().directorySeparator));
  int32_t start = separator + 1;
  int32_t dot = mbFindLastChar(path.data() + start, '.');
  return path.substring(start, dot < 0 ? path.length() : start + dot);
}

bool pathExists(const CountedString& path) {
  return !path.empty() && platformPathExists(path);
}

CountedString environmentValue(const CountedString& name) {
  int32_t n = 0;
  while (n < name.length() && name.byteAt(n) != 0) ++n;
  for (const CountedString& entry : context().environment) {
    if (entry.length() > n && entry.byteAt(n) == '=' &&
        mbCompareNoCase(entry.data(), name.data(), n)) {
      return entry.substring(n + 1, entry.length());
    }
  }
  return CountedString();
}

namespace {

// Where the tail starts: after the program name (double quotes group anywhere in it) and the
// whitespace that follows it.
int32_t tailStart() {
  const char* line = context().commandLine.data();
  const char* p = line;
  bool inQuotes = false;
  while (*p != 0) {
    if (!inQuotes && mbIsSpace(static_cast<unsigned char>(*p))) break;
    if (*p == '"') inQuotes = !inQuotes;
    p += mbCharLength(p);
  }
  while (*p != 0 && mbIsSpace(static_cast<unsigned char>(*p))) ++p;
  return static_cast<int32_t>(p - line);
}

// The marks of the tail's bytes; empty when nothing was replaced.
CountedString replacedInTail(int32_t start, int32_t length) {
  const CountedString& replaced = context().replaced;
  if (replaced.length() < start + length) return CountedString();
  for (int32_t i = start; i < start + length; ++i) {
    if (replaced.byteAt(i) != 0) return replaced.substring(start, start + length);
  }
  return CountedString();
}

}  // namespace

CountedString commandLineTail() { return CountedString(context().commandLine.data() + tailStart()); }

CountedString replacedInCommandLineTail() {
  int32_t start = tailStart();
  return replacedInTail(start, commandLineTail().length());
}

CountedString shieldedCommandLineTail() {
  int32_t start = tailStart();
  CountedString tail(context().commandLine.data() + start);
  CountedString replaced = replacedInTail(start, tail.length());
  if (replaced.empty()) return tail;
  ByteBuffer out;
  bool inQuotes = false;
  for (int32_t i = 0; i < tail.length();) {
    bool run = !inQuotes && replaced.byteAt(i) != 0;
    if (run) out.appendByte('"');
    do {
      if (tail.byteAt(i) == '"') inQuotes = !inQuotes;
      int length = mbCharLength(tail.data() + i);
      out.appendBytes(tail.data() + i, length);
      i += length;
    } while (run && i < tail.length() && replaced.byteAt(i) != 0);
    if (run) out.appendByte('"');
  }
  return out.toCountedString();
}

TokenList unrepresentedArguments() {
  int32_t start = tailStart();
  CountedString tail(context().commandLine.data() + start);
  CountedString replaced = replacedInTail(start, tail.length());
  TokenList words;
  if (replaced.empty()) return words;
  bool inQuotes = false, marked = false;
  int32_t wordStart = 0;
  for (int32_t i = 0; i <= tail.length();) {
    bool ends = i == tail.length() || (!inQuotes && (tail.byteAt(i) == ' ' || tail.byteAt(i) == '\t'));
    if (ends) {
      if (marked) words.append(tail.substring(wordStart, i));
      marked = false;
      wordStart = ++i;
      continue;
    }
    if (tail.byteAt(i) == '"') inQuotes = !inQuotes;
    if (replaced.byteAt(i) != 0) marked = true;
    i += mbCharLength(tail.data() + i);
  }
  return words;
}

const TokenList& launcherArguments() { return context().arguments; }
