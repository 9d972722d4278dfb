// The pixel data of a Radiance file: run-length encoded scanlines or flat
// RGBE pixels. Bytes are taken straight from the stream's buffer; every
// packet is checked against what the stream still holds and against the
// scanline, so short or malformed data is refused, never over-read or
// over-written.
#include "RgbeConversion.h"
#include "RunLengthPlanes.h"
#include "ZqHDRReader.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

// Pixels converted per step of the flat decoder: 64 KiB of input.
const unsigned kFlatChunk = 16384;

bool IsFastLayout(int columnStep, unsigned bytesPerPixel) {
    return bytesPerPixel == 8 && (columnStep == 8 || columnStep == -8);
}

} // namespace

bool ZqHDRReader::ReadRLEFile(ZqFile& file, unsigned char* const firstFour,
                              unsigned char* destination, int rowStep, int columnStep,
                              unsigned rows, unsigned columns, unsigned bytesPerPixel) {
    // One scanline, as four planes of `columns` bytes: red, green, blue, exponent.
    std::unique_ptr<unsigned char[]> planes(
        new (std::nothrow) unsigned char[size_t(columns) * 4 + kPlaneSlack]);
    if (!planes) {
        return false;
    }
    const bool fast = IsFastLayout(columnStep, bytesPerPixel);
    unsigned char opening[4];
    unsigned char* row = destination;
    for (unsigned i = 0; i < rows; ++i, row += rowStep) {
        const unsigned char* bytes = firstFour;
        if (i > 0) {
            if (file.Read(opening, 4) != 4) {
                return false;
            }
            bytes = opening;
        }
        if (bytes[0] != 2 || bytes[1] != 2 || (bytes[2] & 0x80) != 0 ||
            (unsigned(bytes[2]) << 8 | bytes[3]) != columns) {
            return false;
        }
        if (!DecodeRunLengthPlanes(file, planes.get(), columns)) {
            return false;
        }
        if (fast) {
            RgbePlanesToHalf(planes.get(), columns, columns, row, columnStep);
            continue;
        }
        for (unsigned j = 0; j < columns; ++j) {
            unsigned char pixel[4] = {planes[j], planes[columns + j],
                                      planes[2 * size_t(columns) + j],
                                      planes[3 * size_t(columns) + j]};
            ConvertRGBEToHalf(pixel, row + static_cast<long>(j) * columnStep);
        }
    }
    return true;
}

bool ZqHDRReader::ReadRawFile(ZqFile& file, unsigned char* const firstFour,
                              unsigned char* destination, int rowStep, int columnStep,
                              unsigned rows, unsigned columns, unsigned bytesPerPixel) {
    if (rows == 0 || columns == 0) {
        return true;
    }
    const bool fast = IsFastLayout(columnStep, bytesPerPixel);
    unsigned char* row = destination;
    for (unsigned i = 0; i < rows; ++i, row += rowStep) {
        unsigned j = 0;
        if (i == 0) {
            ConvertRGBEToHalf(firstFour, row); // the pixel the form test read
            j = 1;
        }
        while (j < columns) {
            unsigned count = columns - j < kFlatChunk ? columns - j : kFlatChunk;
            size_t bytes = size_t(count) * 4;
            if (file.Ensure(bytes) < bytes) {
                return false;
            }
            unsigned char* out = row + static_cast<long>(j) * columnStep;
            if (fast) {
                RgbeRowToHalf(file.Current(), count, out, columnStep);
            } else {
                for (unsigned n = 0; n < count; ++n) {
                    unsigned char pixel[4];
                    std::memcpy(pixel, file.Current() + 4 * n, 4);
                    ConvertRGBEToHalf(pixel, out + static_cast<long>(n) * columnStep);
                }
            }
            file.Advance(bytes);
            j += count;
        }
    }
    return true;
}
