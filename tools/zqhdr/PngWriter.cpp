#include "ImageWriters.h"

#include <Imath/half.h>
#include <png.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

unsigned char ToSrgbByte(float linear) {
    // NaN lands on black; infinity on white, where inf / (1 + inf) would be NaN.
    float mapped = !(linear > 0.0f) ? 0.0f : std::isinf(linear) ? 1.0f : linear / (1.0f + linear);
    float encoded =
        mapped <= 0.0031308f ? 12.92f * mapped : 1.055f * std::pow(mapped, 1.0f / 2.4f) - 0.055f;
    return static_cast<unsigned char>(std::lround(encoded * 255.0f));
}

} // namespace

bool WritePng(const ZqPixelData& image, double exposure, const std::string& path,
              std::string& error) {
    const unsigned width = image.GetWidth(0);
    const unsigned height = image.GetHeight(0);
    if (width == 0 || height == 0) {
        error = "an image without pixels cannot be written as PNG";
        return false;
    }
    const float scale = static_cast<float>(std::exp2(exposure));
    std::vector<unsigned char> rgb(size_t(width) * height * 3);
    const unsigned char* pixels = image.GetPixels(0);
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        for (int channel = 0; channel < 3; ++channel) {
            unsigned short bits;
            std::memcpy(&bits, pixels + 8 * i + 2 * channel, 2);
            Imath::half value;
            value.setBits(bits);
            rgb[3 * i + channel] = ToSrgbByte(static_cast<float>(value) * scale);
        }
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = width;
    png.height = height;
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        error = png.message[0] ? png.message : "cannot write PNG";
        return false;
    }
    return true;
}
