// Checks that PNG previews hold the pixels of the image's whole ReadFile,
// tone mapped: the pixels of libpng's reading of each file, byte for byte.
//
//   png_preview_check IMAGE.hdr PNG...
#include "ToneMap.h"
#include "ZqFile.h"
#include "ZqHDRReader.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: png_preview_check IMAGE.hdr PNG...\n");
        return 2;
    }
    ZqFile file(argv[1]);
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(file ? reader.ReadFile(file, nullptr) : nullptr);
    if (!data) {
        std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
        return 1;
    }
    const size_t pixels = data->GetSizeInBytes(0) / 8;
    std::vector<unsigned char> expected(pixels * 3);
    ToneMap(0.0).Row(data->GetPixels(0), pixels, expected.data());
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        png_image png;
        std::memset(&png, 0, sizeof png);
        png.version = PNG_IMAGE_VERSION;
        std::vector<unsigned char> rgb;
        if (png_image_begin_read_from_file(&png, argv[i])) {
            png.format = PNG_FORMAT_RGB;
            rgb.resize(PNG_IMAGE_SIZE(png));
            if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
                rgb.clear();
            }
        }
        const bool same = rgb == expected;
        std::printf("   %s: %s\n", argv[i],
                    same          ? "the same pixels as the tone-mapped ReadFile"
                    : rgb.empty() ? "libpng refuses it"
                                  : "pixels DIFFER");
        png_image_free(&png);
        status |= same ? 0 : 1;
    }
    return status;
}
