// Stands in for java in the end-to-end tests: writes the raw command line it received and the
// arguments its C runtime parsed to the file named by KESTRELUNE_RECORD, each ended by a zero
// byte, and CLASSPATH, where it is set, to that name + ".classpath"; on Windows the image name of
// the process that started it to the file named by KESTRELUNE_PARENT, where that is set; then exits
// with the status in KESTRELUNE_EXIT.
#include <cstdio>
#include <cstdlib>
#include <string>

/// The command line as the system handed it over; POSIX has none, so it is empty there.
std::string rawCommandLine();
/// The file name of the parent process's image (cmd.exe, tool.exe); empty on POSIX.
std::string parentImageName();

namespace {

void writeText(const std::string& path, const std::string& text) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string record = rawCommandLine();
  record += '\0';
  for (int i = 1; i < argc; ++i) record += std::string(argv[i]) + '\0';
  if (const char* path = std::getenv("KESTRELUNE_RECORD")) {
    writeText(path, record);
    if (const char* classPath = std::getenv("CLASSPATH")) {
      writeText(std::string(path) + ".classpath", classPath);
    }
  }
  if (const char* path = std::getenv("KESTRELUNE_PARENT")) {
    const std::string parent = parentImageName();
    if (!parent.empty()) writeText(path, parent);
  }
  const char* status = std::getenv("KESTRELUNE_EXIT");
  return status ? static_cast<int>(std::strtoul(status, nullptr, 0)) : 0;
}
