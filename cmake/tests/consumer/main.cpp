// decode IN.hdr OUT.raw: reads an image with the installed reader and writes
// its 16-bit float pixels as they are.
#include "ZqHDRReader.h"
#include "ZqPixelData.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: decode IN.hdr OUT.raw\n");
        return 2;
    }
    ZqFile file(argv[1]);
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> image(file ? reader.ReadFile(file, nullptr) : nullptr);
    if (!image) {
        std::fprintf(stderr, "decode: %s refused\n", argv[1]);
        return 1;
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    size_t size = image->GetSizeInBytes(0);
    bool written = out && std::fwrite(image->GetPixels(0), 1, size, out) == size;
    if (out) {
        written = std::fclose(out) == 0 && written;
    }
    std::printf("%u x %u\n", image->GetWidth(0), image->GetHeight(0));
    return written ? 0 : 1;
}
