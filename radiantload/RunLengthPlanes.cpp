#include "RunLengthPlanes.h"

#include <cstring>

namespace {

// A packet needs at most its count byte and 128 data bytes.
const size_t kLargestPacket = 129;

} // namespace

bool DecodeRunLengthPlanes(ZqFile& file, unsigned char* planes, unsigned columns) {
    // Local copies of the stream's buffer pointers: the plane writes could
    // otherwise force them back to memory after every packet.
    const unsigned char* start = file.Current();
    const unsigned char* in = start;
    const unsigned char* end = start + file.Available();
    auto refill = [&](size_t bytes) {
        file.Advance(static_cast<size_t>(in - start));
        size_t available = file.Ensure(bytes);
        start = in = file.Current();
        end = start + available;
        return available;
    };
    alignas(32) unsigned char run[128];
    bool complete = true;
    for (unsigned k = 0; k < 4 && complete; ++k) {
        unsigned char* plane = planes + size_t(k) * columns;
        unsigned covered = 0;
        while (covered < columns) {
            if (static_cast<size_t>(end - in) < kLargestPacket &&
                refill(kLargestPacket) < kLargestPacket) {
                // Near the end of the stream: exact copies, every byte checked.
                unsigned count = end - in >= 1 ? in[0] : 0;
                unsigned pixels = count > 128 ? count - 128 : count;
                size_t bytes = count > 128 ? 2 : 1 + size_t(count);
                if (pixels == 0 || pixels > columns - covered ||
                    static_cast<size_t>(end - in) < bytes) {
                    complete = false;
                    break;
                }
                if (count > 128) {
                    std::memset(plane + covered, in[1], pixels);
                } else {
                    std::memcpy(plane + covered, in + 1, pixels);
                }
                in += bytes;
                covered += pixels;
                continue;
            }
            // Whole blocks, and the packet kind chosen by selects, not
            // branches: runs and literals alternate unpredictably.
            unsigned count = in[0];
            bool isRun = count > 128;
            unsigned pixels = isRun ? count - 128 : count;
            if (pixels == 0 || pixels > columns - covered) {
                complete = false;
                break;
            }
            std::memset(run, in[1], sizeof run);
            std::memcpy(plane + covered, isRun ? run : in + 1, sizeof run);
            in += isRun ? 2 : 1 + pixels;
            covered += pixels;
        }
    }
    file.Advance(static_cast<size_t>(in - start));
    return complete;
}
