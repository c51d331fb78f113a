// The recording child's raw command line on Windows.
#include <windows.h>

#include <string>

std::string rawCommandLine() { return GetCommandLineA(); }
