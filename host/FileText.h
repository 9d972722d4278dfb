#pragma once

#include <string>

// The whole of the file `path`, read and checked; a HostError names the file
// and the problem: a folder, or a file that cannot be opened or read.
std::string ReadFileText(const std::string& path);
