// read-hdr IN.hdr: reads a Radiance image with the installed RadiantLoad and
// prints its size and its top-left pixel: red, green, blue and alpha as
// 16-bit floats, in hex (3c00 is 1.0).
#include "ZqHDRReader.h"
#include "ZqPixelData.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: read-hdr IN.hdr\n");
        return 2;
    }
    ZqFile file(argv[1]);
    if (!file) {
        std::fprintf(stderr, "read-hdr: cannot open %s\n", argv[1]);
        return 1;
    }
    ZqHDRReader reader;
    // A new object the caller owns, or null when the file is refused.
    ZqPixelData* pixels = reader.ReadFile(file, nullptr);
    if (!pixels) {
        std::fprintf(stderr, "read-hdr: %s refused\n", argv[1]);
        return 1;
    }
    std::printf("%u x %u\n", pixels->GetWidth(), pixels->GetHeight());
    unsigned short rgba[4]; // RGBA64: four halves a pixel, the top row first
    if (pixels->GetSizeInBytes() >= sizeof rgba) {
        std::memcpy(rgba, pixels->GetPixels(), sizeof rgba);
        std::printf("top-left pixel: %04x %04x %04x %04x\n", rgba[0], rgba[1], rgba[2], rgba[3]);
    }
    delete pixels;
    return 0;
}
