#pragma once

#include "CommandLine.h"

// Each returns zqhost's exit status: 0 success, 1 a step or output failed,
// 2 a usage error or an unreadable input (HostError).
int ListPlugins(const CommandLine& line);
int RunScript(const CommandLine& line);
int ShowOptions(const CommandLine& line);
int ShowScene(const CommandLine& line);
