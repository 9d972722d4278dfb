#include "PngChunks.h"

#include <zlib.h>

namespace {

void PutBigEndian(unsigned char* at, unsigned long value) {
    at[0] = static_cast<unsigned char>(value >> 24);
    at[1] = static_cast<unsigned char>(value >> 16);
    at[2] = static_cast<unsigned char>(value >> 8);
    at[3] = static_cast<unsigned char>(value);
}

} // namespace

bool WritePngChunk(OutputBytes& out, const char* type, const unsigned char* data, size_t size) {
    unsigned char head[8];
    PutBigEndian(head, static_cast<unsigned long>(size));
    for (int i = 0; i < 4; ++i) {
        head[4 + i] = static_cast<unsigned char>(type[i]);
    }
    // zlib takes a null buffer as a request for the initial value.
    uLong crc = crc32(0, head + 4, 4);
    if (size > 0) {
        crc = crc32(crc, data, static_cast<uInt>(size));
    }
    unsigned char tail[4];
    PutBigEndian(tail, crc);
    return out.Write(head, sizeof head) && (size == 0 || out.Write(data, size)) &&
           out.Write(tail, sizeof tail);
}

bool WritePngStart(OutputBytes& out, unsigned width, unsigned height) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char header[13];
    PutBigEndian(header, width);
    PutBigEndian(header + 4, height);
    header[8] = 8;  // bits a channel
    header[9] = 2;  // RGB
    header[10] = 0; // deflate
    header[11] = 0; // adaptive filtering, one filter type a row
    header[12] = 0; // not interlaced
    const unsigned char perceptual = 0;
    return out.Write(kSignature, sizeof kSignature) &&
           WritePngChunk(out, "IHDR", header, sizeof header) &&
           WritePngChunk(out, "sRGB", &perceptual, 1);
}

bool WritePngEnd(OutputBytes& out) {
    return WritePngChunk(out, "IEND", nullptr, 0);
}
