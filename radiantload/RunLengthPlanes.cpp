#include "RunLengthPlanes.h"

#include <cstring>

namespace {

// A packet needs at most its count byte and 128 data bytes.
const size_t kLargestPacket = 129;

} // namespace

bool DecodeRunLengthPlanes(ReadAhead& source, unsigned char* planes, unsigned columns) {
    // Local copies of the read-ahead pointers: the plane writes could
    // otherwise force them back to memory after every packet.
    const unsigned char* start = source.Current();
    const unsigned char* in = start;
    const unsigned char* end = start + source.Available();
    auto refill = [&](size_t wanted) {
        source.Advance(static_cast<size_t>(in - start));
        size_t available = source.Ensure(wanted);
        start = in = source.Current();
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
                if (in == end) {
                    complete = false;
                    break;
                }
                unsigned count = in[0];
                unsigned pixels = count > 128 ? count - 128 : count;
                size_t packet = count > 128 ? 2 : 1 + size_t(count);
                if (pixels == 0 || pixels > columns - covered) {
                    ++in; // refused at its count byte
                    complete = false;
                    break;
                }
                if (static_cast<size_t>(end - in) < packet) {
                    in = end; // the stream ends inside the packet
                    complete = false;
                    break;
                }
                if (count > 128) {
                    std::memset(plane + covered, in[1], pixels);
                } else {
                    std::memcpy(plane + covered, in + 1, pixels);
                }
                in += packet;
                covered += pixels;
                continue;
            }
            // Whole blocks, and the packet kind chosen by selects, not
            // branches: runs and literals alternate unpredictably.
            unsigned count = in[0];
            bool isRun = count > 128;
            unsigned pixels = isRun ? count - 128 : count;
            if (pixels == 0 || pixels > columns - covered) {
                ++in; // refused at its count byte
                complete = false;
                break;
            }
            std::memset(run, in[1], sizeof run);
            std::memcpy(plane + covered, isRun ? run : in + 1, sizeof run);
            in += isRun ? 2 : 1 + pixels;
            covered += pixels;
        }
    }
    source.Advance(static_cast<size_t>(in - start));
    return complete;
}
