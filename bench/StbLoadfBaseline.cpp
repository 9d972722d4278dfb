// The comparison for `zqhdr convert IN out.raw`: one stbi_loadf of the same
// file, its floats written out.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_HDR
#include "stb_image.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: stb_loadf_baseline IN OUT\n");
        return 2;
    }
    int width = 0, height = 0, channels = 0;
    float* pixels = stbi_loadf(argv[1], &width, &height, &channels, 4);
    if (!pixels) {
        std::fprintf(stderr, "%s: %s\n", argv[1], stbi_failure_reason());
        return 1;
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    size_t count = size_t(width) * height * 4;
    bool ok = out && std::fwrite(pixels, sizeof(float), count, out) == count;
    if (out) {
        std::fclose(out);
    }
    stbi_image_free(pixels);
    return ok ? 0 : 1;
}
