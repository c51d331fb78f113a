// POSIX implementation of the platform seam (platform.h). Only code for POSIX systems lives here.
#include "util/platform.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <langinfo.h>
#include <limits.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "util/argument_split.h"
#include "util/byte_buffer.h"
#include "util/paths.h"

extern char** environ;

namespace {

struct CharsetCodePage {
  const char* name;
  uint32_t codePage;
};

// Locale character sets that stand for a double-byte ANSI code page.
constexpr CharsetCodePage doubleByteCharsets[] = {
    {"SHIFT_JIS", 932}, {"SJIS", 932},   {"CP932", 932},  {"GBK", 936},    {"CP936", 936},
    {"GB2312", 936},    {"EUC-KR", 949}, {"CP949", 949},  {"UHC", 949},    {"BIG5", 950},
    {"BIG5-HKSCS", 950}, {"CP950", 950}, {"JOHAB", 1361},
};

// "?" matches one byte and "*" any run, as on Windows; no other byte is special.
bool matchesWildcard(const char* pattern, const char* name) {
  const char* starPattern = nullptr;
  const char* starName = nullptr;
  while (*name != 0) {
    if (*pattern == '*') {
      starPattern = ++pattern;
      starName = name;
    } else if (*pattern != 0 && (*pattern == '?' || *pattern == *name)) {
      ++pattern;
      ++name;
    } else if (starPattern != nullptr) {
      pattern = starPattern;
      name = ++starName;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

}  // namespace

PathStyle platformPathStyle() { return PathStyle::posix(); }

ActiveCodePage platformActiveCodePage() {
  setlocale(LC_CTYPE, "");
  const char* charset = nl_langinfo(CODESET);
  for (const CharsetCodePage& entry : doubleByteCharsets) {
    if (charset != nullptr && strcasecmp(charset, entry.name) == 0) {
      return builtinCodePage(entry.codePage);
    }
  }
  return builtinCodePage(0);  // UTF-8 and every single-byte set: plain byte scanning
}

CountedString platformModulePath() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return CountedString();
    if (static_cast<size_t>(n) < buffer.size()) return CountedString(buffer.data(), static_cast<int32_t>(n));
    buffer.resize(buffer.size() * 2);  // possibly cut: try again with room to spare
  }
}

CountedString platformCommandLine(int argc, char** argv) {
  ByteBuffer line;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) line.appendByte(' ');
    line.appendByte('"');
    for (const char* p = argv[i]; *p != 0; ++p) {
      if (*p != '"') line.appendByte(*p);
    }
    line.appendByte('"');
  }
  return line.toCountedString();
}

TokenList platformEnvironment() {
  TokenList entries;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    entries.append(CountedString(*entry));
  }
  return entries;
}

int platformUpperDoubleByte(const char* character, int count, char out[2]) {
  out[0] = character[0];  // no platform mapping of double-byte characters here: unchanged
  if (count == 2) out[1] = character[1];
  return count;
}

bool platformEqualNoCase(const char* a, int32_t na, const char* b, int32_t nb) {
  if (na != nb) return false;
  const ActiveCodePage& cp = activeCodePage();
  for (int32_t i = 0; i < na; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (cp.byteClasses[x] & kLowerCase) x = cp.caseMap[x];
    if (cp.byteClasses[y] & kLowerCase) y = cp.caseMap[y];
    if (x != y) return false;
  }
  return true;
}

bool platformPathExists(const CountedString& path) {
  struct stat info;
  return stat(path.data(), &info) == 0;
}

intptr_t platformOpenInput(const CountedString& path) {
  // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come; with it the
  // open returns at once, and the flag is cleared so that reading waits for data as usual.
  int fd = open(path.data(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat info;
  int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) ||  // Linux opens directories; we do not
      flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

int32_t platformReadInput(intptr_t file, char* buffer, int32_t size) {
  for (;;) {
    ssize_t n = read(static_cast<int>(file), buffer, static_cast<size_t>(size));
    if (n >= 0) return static_cast<int32_t>(n);
    if (errno != EINTR) return 0;  // a read error ends the input
  }
}

void platformCloseInput(intptr_t file) { close(static_cast<int>(file)); }

TokenList platformMatchingNames(const CountedString& pattern) {
  int32_t slash = mbFindLastChar(pattern.data(), '/');
  CountedString directory = slash < 0 ? CountedString(".") : slash == 0 ? CountedString("/") : pattern.substring(0, slash);
  const char* namePattern = pattern.data() + slash + 1;
  std::vector<CountedString> names;
  if (DIR* dir = opendir(directory.data())) {
    while (const dirent* entry = readdir(dir)) {
      if (matchesWildcard(namePattern, entry->d_name)) names.emplace_back(entry->d_name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end(), [](const CountedString& a, const CountedString& b) {
    return strcmp(a.data(), b.data()) < 0;  // byte order, for reproducible class paths
  });
  TokenList result;
  for (CountedString& name : names) result.append(std::move(name));
  return result;
}

int platformRunCommand(const CountedString& commandLine) {
  TokenList arguments = splitLauncherArguments(commandLine);
  if (arguments.empty()) return 0;
  std::vector<char*> argv;
  for (const CountedString& argument : arguments) argv.push_back(const_cast<char*>(argument.data()));
  argv.push_back(nullptr);
  fflush(nullptr);
  execvp(argv[0], argv.data());
  int error = errno;
  fprintf(stderr, "error: cannot run %s: %s\n", argv[0], strerror(error));
  return 127;
}

namespace {

// Symbolic links resolved, as /proc/self/exe shows the running program.
bool resolve(const CountedString& path, CountedString* out) {
  char buffer[PATH_MAX];  // realpath never writes more
  if (realpath(path.data(), buffer) == nullptr) return false;
  *out = CountedString(buffer);
  return true;
}

}  // namespace

CountedString platformFullPath(const CountedString& path) {
  CountedString resolved;
  if (resolve(path, &resolved)) return resolved;
  // A launcher not copied yet: resolve its directory and keep its name.
  CountedString directory = directoryOf(path);
  CountedString name = path.substring(directory.length(), path.length());
  if (!resolve(directory.empty() ? CountedString(".") : directory, &resolved)) return path;
  return resolved + (resolved == CountedString("/") ? "" : "/") + name;
}
