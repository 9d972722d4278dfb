#pragma once

#include <csignal>

// The signals that stop a conversion early: INT, TERM and HUP, less those
// the caller set to be ignored (as nohup does), which stay ignored.
sigset_t StopSignals();

// Has a failed write come back as an error rather than a signal: a closed pipe
// under the progress lines, or a file size limit, then fails the file being
// written, whose temporary file goes as after any other failure.
void IgnoreWriteSignals();
