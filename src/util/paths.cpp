#include "util/paths.h"

#include "util/case_rules.h"
#include "util/code_page.h"
#include "util/path_style.h"
#include "util/platform.h"
#include "util/text_services.h"

namespace {

struct ProcessContext {
  CountedString modulePath;
  CountedString commandLine;
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
  setCommandLine(platformCommandLine(argc, argv));
  TokenList arguments;
  for (int i = 1; i < argc; ++i) arguments.append(CountedString(argv[i]));
  setLauncherArguments(arguments);
  setEnvironmentTable(platformEnvironment());
}

void setModulePath(const CountedString& path) { context().modulePath = path; }

void setCommandLine(const CountedString& rawCommandLine) { context().commandLine = rawCommandLine; }

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

CountedString commandLineTail() {
  const CountedString& line = context().commandLine;
  const char* p = line.data();
  bool inQuotes = false;
  while (*p != 0) {
    if (!inQuotes && mbIsSpace(static_cast<unsigned char>(*p))) break;
    if (*p == '"') inQuotes = !inQuotes;
    p += mbCharLength(p);
  }
  while (*p != 0 && mbIsSpace(static_cast<unsigned char>(*p))) ++p;
  return CountedString(p);
}

TokenList launcherArguments() { return context().arguments; }
