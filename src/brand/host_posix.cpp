// POSIX side of host.h.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "brand/host.h"

namespace {

std::string reasonOf(const char* what, int error) { return std::string(what) + ": " + std::strerror(error); }

bool writeAll(int fd, const Bytes& content) {
  for (size_t done = 0; done < content.size();) {
    ssize_t n = write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<std::string> programArguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

Bytes readWholeFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw BrandError(reasonOf("cannot open", errno));
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    throw BrandError("is a directory");
  }
  Bytes content;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.insert(content.end(), buffer, buffer + n);
  bool failed = std::ferror(file) != 0;
  int error = errno;
  std::fclose(file);
  if (failed) throw BrandError(reasonOf("cannot read", error));
  return content;
}

void replaceFile(const std::string& path, const Bytes& content) {
  std::string temporary = path + ".XXXXXX";
  int fd = mkstemp(&temporary[0]);
  if (fd < 0) throw BrandError(reasonOf("cannot write", errno));
  // mkstemp makes the file private; give it the mode a new program gets.
  mode_t mask = umask(0);
  umask(mask);
  bool written = fchmod(fd, 0777 & ~mask) == 0 && writeAll(fd, content);
  int error = errno;
  if (close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) {
    unlink(temporary.c_str());
    throw BrandError(reasonOf("cannot write", error));
  }
}

std::string fileNameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }
