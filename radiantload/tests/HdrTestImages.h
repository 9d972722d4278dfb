#pragma once

// Small Radiance images built in memory, and a reader that exposes its
// protected parts to the tests.
#include "ZqHDRReader.h"

#include <initializer_list>
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// push_back rather than insert: GCC 12 warns wrongly on inserted brace lists.
inline void Append(Bytes& bytes, std::initializer_list<unsigned char> more) {
    for (unsigned char byte : more) {
        bytes.push_back(byte);
    }
}

inline Bytes Concat(const std::string& text, const Bytes& data = {}) {
    Bytes bytes(text.begin(), text.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

inline std::string Header(const std::string& resolution) {
    return "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\nEXPOSURE=1.0\n\n" + resolution + "\n";
}

// A distinct, valid RGBE pixel for every index.
inline void PixelFor(unsigned index, unsigned char* out) {
    out[0] = static_cast<unsigned char>(index * 7 + 1);
    out[1] = static_cast<unsigned char>(index * 13 + 2);
    out[2] = static_cast<unsigned char>(index * 29 + 3);
    out[3] = static_cast<unsigned char>(120 + index % 20);
}

// Flat pixel data: rows x columns pixels from PixelFor. Pixel 0 never opens
// with 2, 2, so the data is taken for flat.
inline Bytes FlatPixels(unsigned rows, unsigned columns) {
    Bytes data(size_t(rows) * columns * 4);
    for (unsigned i = 0; i < rows * columns; ++i) {
        PixelFor(i, &data[4 * i]);
    }
    return data;
}

// One run-length plane: literal packets of at most 128 bytes.
inline void AppendLiteralPlane(Bytes& out, const unsigned char* values, unsigned count) {
    for (unsigned start = 0; start < count; start += 128) {
        unsigned n = count - start < 128 ? count - start : 128;
        out.push_back(static_cast<unsigned char>(n));
        out.insert(out.end(), values + start, values + start + n);
    }
}

// Run-length pixel data of the same pixels as FlatPixels.
inline Bytes RlePixels(unsigned rows, unsigned columns) {
    Bytes flat = FlatPixels(rows, columns);
    Bytes data;
    for (unsigned i = 0; i < rows; ++i) {
        Append(data, {2, 2, static_cast<unsigned char>(columns >> 8),
                      static_cast<unsigned char>(columns & 0xFF)});
        for (unsigned k = 0; k < 4; ++k) {
            std::vector<unsigned char> plane(columns);
            for (unsigned j = 0; j < columns; ++j) {
                plane[j] = flat[4 * (size_t(i) * columns + j) + k];
            }
            AppendLiteralPlane(data, plane.data(), columns);
        }
    }
    return data;
}

// Every byte left in the stream from where it stands.
inline Bytes Rest(ZqBinaryStream& stream) {
    Bytes rest;
    unsigned char chunk[256];
    const unsigned byteSize = 1;
    while (unsigned got = stream.BinaryRead(chunk, sizeof chunk, &byteSize, 1)) {
        rest.insert(rest.end(), chunk, chunk + got);
    }
    return rest;
}

class TestableReader : public ZqHDRReader {
public:
    using ZqHDRReader::ConvertRGBEToFloat;
    using ZqHDRReader::ConvertRGBEToHalf;
    using ZqHDRReader::ReadHeaderInternal;
    using ZqHDRReader::ReadRawFile;
    using ZqHDRReader::ReadRLEFile;
};

// The eight bytes ConvertRGBEToHalf gives for one pixel.
inline std::vector<unsigned char> HalfOf(const unsigned char* rgbe) {
    std::vector<unsigned char> out(8);
    unsigned char copy[4] = {rgbe[0], rgbe[1], rgbe[2], rgbe[3]};
    TestableReader::ConvertRGBEToHalf(copy, out.data());
    return out;
}
