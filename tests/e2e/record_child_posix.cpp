// POSIX hands a program its arguments only, never a command line.
#include <string>

std::string rawCommandLine() { return std::string(); }
