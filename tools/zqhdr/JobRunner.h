#pragma once

#include "BatchJobs.h"
#include "Conversion.h"
#include "JobReport.h"

#include <vector>

// Converts every job, on up to `threads` threads of its own, each with its
// own reader and stream, telling `report` of each file. A stop signal
// removes the temporary files of the conversions under way and ends the
// process by that signal. False (after telling why) when no thread could be
// started.
bool RunJobs(const std::vector<BatchJob>& jobs, const ConversionSettings& settings,
             unsigned threads, JobReport& report);
