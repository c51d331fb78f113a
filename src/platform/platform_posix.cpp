// POSIX implementation of the platform seam (platform.h). Only code for POSIX systems lives here.
#include "platform/platform.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "util/byte_buffer.h"

extern char** environ;

PathStyle platformPathStyle() { return PathStyle::posix(); }

RunConventions platformRunConventions() { return RunConventions::posix(); }

CountedString platformModulePath() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return CountedString();
    if (static_cast<size_t>(n) < buffer.size()) return CountedString(buffer.data(), static_cast<int32_t>(n));
    buffer.resize(buffer.size() * 2);  // possibly cut: try again with room to spare
  }
}

CountedString platformCommandLine(int argc, char** argv, CountedString*) {
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

bool platformPathExists(const CountedString& path) {
  struct stat info;
  return stat(path.data(), &info) == 0;
}

bool platformIsRegularFile(const CountedString& path) {
  struct stat info;
  return stat(path.data(), &info) == 0 && S_ISREG(info.st_mode);
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

TokenList platformDirectoryEntries(const CountedString& pattern, bool* matched) {
  *matched = false;  // the caller matches, with the launcher's own wildcard rules
  const char* slash = strrchr(pattern.data(), '/');
  CountedString directory = slash == nullptr       ? CountedString(".")
                            : slash == pattern.data() ? CountedString("/")
                                                    : pattern.substring(0, static_cast<int32_t>(slash - pattern.data()));
  TokenList names;
  if (DIR* dir = opendir(directory.data())) {
    while (const dirent* entry = readdir(dir)) names.append(CountedString(entry->d_name));
    closedir(dir);
  }
  return names;
}

CountedString platformDefaultInterpreter() { return CountedString(); }  // no shell in between

RecordedRuntimes platformRecordedRuntimes() { return RecordedRuntimes(); }  // no registry

bool platformIsWindowed() { return false; }

void platformReportError(const char* line, const char*) {  // no dialog for a note
  fflush(stdout);
  fputs(line, stderr);
  fputc('\n', stderr);
}

int platformRunCommand(const CommandRequest& request, CountedString* failure) {
  std::vector<char*> argv;
  for (const CountedString& argument : request.arguments) argv.push_back(const_cast<char*>(argument.data()));
  argv.push_back(nullptr);
  fflush(nullptr);
  execvp(argv[0], argv.data());
  *failure = CountedString(strerror(errno));
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
  const char* slash = strrchr(path.data(), '/');
  int32_t nameStart = slash == nullptr ? 0 : static_cast<int32_t>(slash - path.data()) + 1;
  CountedString directory = nameStart == 0 ? CountedString(".") : path.substring(0, nameStart);
  if (!resolve(directory, &resolved)) return path;
  return resolved + (resolved == CountedString("/") ? "" : "/") + path.substring(nameStart, path.length());
}
