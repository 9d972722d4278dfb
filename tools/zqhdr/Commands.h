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
