// POSIX hands a program its arguments only, never a command line.
#include <string>

std::string rawCommandLine() { return std::string(); }

// The launcher replaces itself with its program: there is no parent of its own to tell.
std::string parentImageName() { return std::string(); }
