#pragma once

// What only tests and fuzzers look at in the seam: how its stand-ins do their
// job, beside what the seam offers everyone in ZqPlatform.h.
#include "ZqPlatform.h"

#include <string>
#include <vector>

namespace ZqPlatform {

// How many times modules have turned off their thread notifications in this
// process.
ZQPLATFORM_API unsigned ThreadNotificationSwitchCount();

// Windows' splitting of a command line, which the POSIX launcher follows:
// white space separates arguments outside double quotes; quotes group and are
// dropped; backslashes are literal except before a quote, where 2n of them
// give n and the quote groups, 2n+1 give n and a literal quote; "" inside
// quotes is a literal quote. The program name (first word) takes quotes but
// no escapes.
ZQPLATFORM_API std::vector<std::string> SplitCommandLine(const char* commandLine);

// The float16 conversion's scalar path, which the instruction path matches
// bit for bit, and whether Float32To16Array takes the instruction path.
ZQPLATFORM_API unsigned short Float32To16Scalar(float value);
ZQPLATFORM_API bool HasFloat16Instructions();

} // namespace ZqPlatform
