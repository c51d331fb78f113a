// POSIX side of the test support: files with stdio and unistd, programs with fork and execve.
#include "support/test_support.h"

#include <fcntl.h>
#include <ftw.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "util/argument_split.h"

extern char** environ;

namespace test {

std::string separator() { return "/"; }

TempDir::TempDir() {
  char pattern[] = "/tmp/kestrelune-test-XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  nftw(path_.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
       FTW_DEPTH | FTW_PHYS);
}

void makeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0755) != 0) throw std::runtime_error("mkdir failed: " + path);
}

void writeFile(const std::string& path, const std::string& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

void removeFile(const std::string& path) { unlink(path.c_str()); }

std::string readFile(const std::string& path) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) throw std::runtime_error("cannot read " + path);
  std::string bytes;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  fclose(file);
  return bytes;
}

void copyExecutable(const std::string& from, const std::string& to) {
  writeFile(to, readFile(from));
  chmod(to.c_str(), 0755);
}

std::string programDirectory() {
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  std::string self(buffer, n > 0 ? static_cast<size_t>(n) : 0);
  return self.substr(0, self.rfind('/'));
}

std::string builtProgram(const std::string& name) { return join(programDirectory(), name); }

namespace {

std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& changes) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    std::string name = text.substr(0, text.find('='));
    if (changes.count(name) == 0) result.push_back(text);
  }
  for (const auto& [name, value] : changes) {
    if (value != kUnset) result.push_back(name + "=" + value);
  }
  return result;
}

// Starts program with its output in files (not pipes: a child that writes much can never block
// on us) and waits for it; a limitBytes above zero caps its address space.
RunResult spawn(const std::string& program, std::vector<std::string> argv,
                const std::map<std::string, std::string>& environment,
                const std::string& workingDirectory, uint64_t limitBytes) {
  argv.insert(argv.begin(), program);
  std::vector<std::string> envp = childEnvironment(environment);
  TempDir outputs;
  std::string outPath = outputs / "out", errPath = outputs / "err";
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(126);
    std::vector<char*> a, e;
    for (std::string& s : argv) a.push_back(s.data());
    for (std::string& s : envp) e.push_back(s.data());
    a.push_back(nullptr);
    e.push_back(nullptr);
    if (limitBytes > 0) {  // the last step before exec: only the program runs under it
      struct rlimit limit;
      getrlimit(RLIMIT_AS, &limit);
      limit.rlim_cur = static_cast<rlim_t>(limitBytes);
      setrlimit(RLIMIT_AS, &limit);
    }
    execve(program.c_str(), a.data(), e.data());
    _exit(125);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  RunResult result;
  result.status = WIFEXITED(status) ? static_cast<uint32_t>(WEXITSTATUS(status))
                                    : 128u + static_cast<uint32_t>(WTERMSIG(status));
  result.out = readFile(outPath);
  result.err = readFile(errPath);
  return result;
}

std::vector<std::string> words(const std::string& arguments) {
  return toStrings(splitLauncherArguments(CountedString(arguments.c_str())));
}

}  // namespace

RunResult runProgram(const std::string& program, const std::string& arguments,
                     const std::map<std::string, std::string>& environment,
                     const std::string& workingDirectory) {
  return spawn(program, words(arguments), environment, workingDirectory, 0);
}

RunResult runProgramWithArguments(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::map<std::string, std::string>& environment,
                                  const std::string& workingDirectory) {
  return spawn(program, arguments, environment, workingDirectory, 0);
}

bool runProgramWithMemoryLimit(const std::string& program, const std::string& arguments,
                               const std::map<std::string, std::string>& environment,
                               const std::string& workingDirectory, uint64_t limitBytes,
                               RunResult* result) {
  *result = spawn(program, words(arguments), environment, workingDirectory, limitBytes);
  return true;
}

UnopenableFile::UnopenableFile(const std::string& path) : handle_(-1) {
  // open() fails on a socket with ENXIO for everyone, while stat() sees it.
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  struct sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  if (fd < 0 || path.size() >= sizeof address.sun_path) throw std::runtime_error("socket " + path);
  memcpy(address.sun_path, path.c_str(), path.size() + 1);
  if (bind(fd, reinterpret_cast<struct sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    throw std::runtime_error("bind " + path);
  }
  handle_ = fd;
}

UnopenableFile::~UnopenableFile() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

bool makeFifo(const std::string& path) { return mkfifo(path.c_str(), 0644) == 0; }

bool makeSymlink(const std::string& target, const std::string& path) {
  return symlink(target.c_str(), path.c_str()) == 0;
}

}  // namespace test
