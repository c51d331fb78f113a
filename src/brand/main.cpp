// kestrelune-brand: writes a copy of the launcher with the application's icon and version record.
#include <cstdio>

#include "brand/command.h"
#include "brand/host.h"

int main(int argc, char** argv) {
  std::string message;
  int status = runBrandCommand(commandLineWords(argc, argv), message);
  std::fputs(message.c_str(), status == 0 ? stdout : stderr);
  return status;
}
