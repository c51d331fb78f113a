// Stands in for java in the end-to-end tests: writes its arguments (POSIX has no raw command line,
// so that part stays empty) to the file named by KESTRELUNE_RECORD, then exits with the status in
// KESTRELUNE_EXIT.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  std::string record(1, '\0');
  for (int i = 1; i < argc; ++i) record += std::string(argv[i]) + '\0';
  if (const char* path = std::getenv("KESTRELUNE_RECORD")) {
    if (FILE* file = std::fopen(path, "wb")) {
      std::fwrite(record.data(), 1, record.size(), file);
      std::fclose(file);
    }
  }
  const char* status = std::getenv("KESTRELUNE_EXIT");
  return status ? static_cast<int>(std::strtoul(status, nullptr, 0)) : 0;
}
