#pragma once

#include <string>
#include <vector>

// The tool's commands. Each takes the words after its name and answers the
// exit status: 0 success, 1 a file failed, 2 a usage error.
int RunInfo(const std::vector<std::string>& words);
int RunConvert(const std::vector<std::string>& words);
int RunBatch(const std::vector<std::string>& words);

// Texts for `zqhdr --help` and each command's --help; null for no such command.
const char* HelpText(const std::string& command);

// "zqhdr: FILE: reason" on stderr, or "zqhdr: reason" without a file; answers 1.
int Fail(const std::string& file, const std::string& reason);
// The problem, then the command's usage, on stderr; answers 2.
int Usage(const std::string& command, const std::string& problem);
// --exposure's number of stops; false when `text` is not a number.
bool ParseStops(const std::string& text, double& stops);
