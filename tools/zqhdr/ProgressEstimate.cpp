#include "ProgressEstimate.h"

double SecondsLeft(const ProgressFigures& f) {
    if (f.decoded == 0 || f.seconds <= 0 || f.knownBytes == 0) {
        return -1;
    }
    const double perByte = double(f.knownPixels) / double(f.knownBytes);
    const double unknownBytes =
        f.totalBytes > f.knownBytes ? double(f.totalBytes - f.knownBytes) : 0;
    const double remaining = double(f.knownPixels) + unknownBytes * perByte - double(f.decoded);
    const double rate = double(f.decoded) / f.seconds;
    return remaining > 0 ? remaining / rate : 0;
}
