#pragma once

#include <cstdint>

// What a batch's time left is worked out from.
struct ProgressFigures {
    double seconds = 0;                 // since the run began
    unsigned long long decoded = 0;     // pixels decoded so far, in every file
    unsigned long long knownPixels = 0; // of the files whose header was read, less what a
                                        // failed one never decoded
    uintmax_t knownBytes = 0;           // those files' sizes
    uintmax_t totalBytes = 0;           // the sizes of every file still counted: not
                                        // skipped, not failed before its header
};

// Seconds left at the pixel rate so far, for the pixels still to come: those
// of the files begun, and for the others their size at the pixels a byte of
// the files begun. Negative while nothing is known yet. It settles as the
// run goes: the rate and the pixels a byte are measured ever longer.
double SecondsLeft(const ProgressFigures& figures);
