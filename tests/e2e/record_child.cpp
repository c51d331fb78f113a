// Stands in for java in the end-to-end tests: writes the raw command line it received and the
// arguments its C runtime parsed to the file named by KESTRELUNE_RECORD, each ended by a zero
// byte, and CLASSPATH, where it is set, to that name + ".classpath"; then exits with the status in
// KESTRELUNE_EXIT.
#include <cstdio>
#include <cstdlib>
#include <string>

/// The command line as the system handed it over; POSIX has none, so it is empty there.
std::string rawCommandLine();

int main(int argc, char** argv) {
  std::string record = rawCommandLine();
  record += '\0';
  for (int i = 1; i < argc; ++i) record += std::string(argv[i]) + '\0';
  if (const char* path = std::getenv("KESTRELUNE_RECORD")) {
    if (FILE* file = std::fopen(path, "wb")) {
      std::fwrite(record.data(), 1, record.size(), file);
      std::fclose(file);
    }
    const char* classPath = std::getenv("CLASSPATH");
    FILE* file = classPath ? std::fopen((std::string(path) + ".classpath").c_str(), "wb") : nullptr;
    if (file != nullptr) {
      std::fputs(classPath, file);
      std::fclose(file);
    }
  }
  const char* status = std::getenv("KESTRELUNE_EXIT");
  return status ? static_cast<int>(std::strtoul(status, nullptr, 0)) : 0;
}
