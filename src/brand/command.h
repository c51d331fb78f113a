// The kestrelune-brand command: its options, the order of its steps, and its one-line errors.
#pragma once

#include <string>
#include <vector>

/// Runs the command on `arguments` (without the program's name). Returns the exit status: 0,
/// 1 for a refusal, 2 for a usage error; `message` receives what to print (on status 0 nothing,
/// the usage text or the version, else one line "error: FILE: REASON", the usage text after a
/// usage error).
int runBrandCommand(const std::vector<std::string>& arguments, std::string& message);
