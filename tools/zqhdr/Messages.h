#pragma once

#include "BandedReader.h"

#include <string>

// The tool's lines on stderr, and the texts of its results.

// "zqhdr: FILE: reason", or "zqhdr: reason" without a file; answers 1.
int Fail(const std::string& file, const std::string& reason);
// The problem, then the command's usage; answers 2.
int Usage(const std::string& command, const std::string& problem);
// The one-line reason for a failed decode.
const char* ResultText(BandedReader::Result result);
