// The pixel data of a Radiance file: run-length encoded scanlines or flat
// RGBE pixels. Bytes come through BinaryRead into a read-ahead buffer of each
// call's own; no packet may pass what the stream still holds or the end of
// its plane, so short or malformed data is refused, never over-read or
// over-written.
#include "HdrLayout.h"
#include "ReadAhead.h"
#include "RgbeConversion.h"
#include "RunLengthRows.h"
#include "ZqHDRReader.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

namespace {

// The read-ahead block: large enough that each BinaryRead is worth its call,
// small enough to stay in the processor's second-level cache, and small
// beside the memory the output takes.
const size_t kReadAheadSize = 256 * 1024;

// The most bytes the scanlines after the first four bytes can take: four
// opening bytes and, in each plane, at most two bytes a pixel.
std::uint64_t RunLengthBytesAtMost(unsigned rows, unsigned columns) {
    return std::uint64_t(rows) * (4 + 8 * std::uint64_t(columns)) - 4;
}

} // namespace

bool ZqHDRReader::ReadRLEFile(ZqFile& file, unsigned char* const firstFour,
                              unsigned char* destination, int rowStep, int columnStep,
                              unsigned rows, unsigned columns, unsigned bytesPerPixel) {
    if (rows == 0) {
        return true;
    }
    ReadAhead source(file, kReadAheadSize, RunLengthBytesAtMost(rows, columns));
    return source.IsReady() &&
           DecodeRunLengthRows(BestVectorPath(), source, firstFour, destination, rowStep,
                               columnStep, rows, columns, bytesPerPixel);
}

bool ZqHDRReader::ReadRawFile(ZqFile& file, unsigned char* const firstFour,
                              unsigned char* destination, int rowStep, int columnStep,
                              unsigned rows, unsigned columns, unsigned bytesPerPixel) {
    if (rows == 0 || columns == 0) {
        return true;
    }
    ReadAhead source(file, kReadAheadSize, (std::uint64_t(rows) * columns - 1) * 4);
    if (!source.IsReady()) {
        return false;
    }
    const bool fast = IsFastLayout(columnStep, bytesPerPixel);
    const VectorPath path = BestVectorPath();
    unsigned char* row = destination;
    for (unsigned i = 0; i < rows; ++i, row += rowStep) {
        unsigned j = 0;
        if (i == 0) {
            ConvertRGBEToHalf(firstFour, row); // the pixel the form test read
            j = 1;
        }
        while (j < columns) {
            // Every whole pixel read ahead, up to the end of the scanline.
            size_t available = source.Ensure(4);
            if (available < 4) {
                source.Advance(available); // the stream ends inside a pixel
                return false;
            }
            unsigned count =
                static_cast<unsigned>(available / 4 < columns - j ? available / 4 : columns - j);
            const unsigned char* in = source.Current();
            unsigned char* out = row + static_cast<long>(j) * columnStep;
            if (fast) {
                RgbeRowToHalf(path, in, count, out, columnStep);
            } else {
                for (unsigned n = 0; n < count; ++n) {
                    unsigned char pixel[4];
                    std::memcpy(pixel, in + 4 * n, 4);
                    ConvertRGBEToHalf(pixel, out + static_cast<long>(n) * columnStep);
                }
            }
            source.Advance(size_t(count) * 4);
            j += count;
        }
    }
    return true;
}
