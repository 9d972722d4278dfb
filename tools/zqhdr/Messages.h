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
// The same, naming the rows of the band whose pixel data was refused:
// "pixel data refused (truncated or malformed) in rows 0 to 127".
std::string DecodeFailureText(BandedReader::Result result, const BandedReader& reader);
