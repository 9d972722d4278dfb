#pragma once

#include <string>

// `zqhost --help` (an empty command: every command) and `zqhost help COMMAND`
// on standard output. False, printing nothing, for a command zqhost does not
// have.
bool PrintHelp(const std::string& command);

// `zqhost --version`.
void PrintVersion();
