// POSIX side of host.h.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
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

const char kLink[] = "a symbolic link";

// What lies at `path` when it is neither a regular file nor nothing: "a directory", kLink, ...
const char* otherKind(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return nullptr;
  return S_ISLNK(info.st_mode)    ? kLink
         : S_ISDIR(info.st_mode)  ? "a directory"
         : S_ISCHR(info.st_mode)  ? "a character device"
         : S_ISBLK(info.st_mode)  ? "a block device"
         : S_ISFIFO(info.st_mode) ? "a named pipe"
         : S_ISSOCK(info.st_mode) ? "a socket"
                                  : "a special file";
}

}  // namespace

std::vector<std::string> commandLineWords(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

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

std::string outputFile(const std::string& path) {
  std::string file = path;
  for (int links = 0;; ++links) {
    const char* kind = otherKind(file);
    if (kind == nullptr) return file;
    if (kind != kLink) throw BrandError(std::string("is ") + kind + ", not a regular file");
    // The system's own limit on links in a row (SYMLOOP_MAX is 40 on Linux).
    if (links == 40) throw BrandError(reasonOf("cannot follow the link", ELOOP));
    char text[PATH_MAX];
    ssize_t n = readlink(file.c_str(), text, sizeof text);
    if (n < 0 || n == static_cast<ssize_t>(sizeof text)) {
      throw BrandError(reasonOf("cannot read the link", n < 0 ? errno : ENAMETOOLONG));
    }
    // A relative link is read from the link's own folder.
    std::string target(text, static_cast<size_t>(n));
    file = target[0] == '/' ? target : file.substr(0, file.find_last_of('/') + 1) + target;
    if (access(file.c_str(), F_OK) != 0 && errno == ENOENT) {
      throw BrandError("is a symbolic link to " + file + ", which does not exist");
    }
  }
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
  // rename() replaces a pipe or a device as readily as a file: look once more just before.
  const char* kind = written ? otherKind(path) : nullptr;
  if (kind != nullptr) {
    unlink(temporary.c_str());
    throw BrandError(std::string("is ") + kind + " now, not a regular file");
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
