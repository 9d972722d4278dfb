#include "ImageWriters.h"

#include <ImfRgbaFile.h>

#include <exception>

bool WriteExr(const ZqPixelData& image, const std::string& path, std::string& error) {
    const int width = static_cast<int>(image.GetWidth(0));
    const int height = static_cast<int>(image.GetHeight(0));
    if (width == 0 || height == 0) {
        error = "an image without pixels cannot be written as OpenEXR";
        return false;
    }
    try {
        // The pixels are already four IEEE half floats each, as Imf::Rgba is.
        static_assert(sizeof(Imf::Rgba) == 8, "Rgba is four halves");
        const auto* pixels = reinterpret_cast<const Imf::Rgba*>(image.GetPixels(0));
        Imf::RgbaOutputFile file(path.c_str(), width, height, Imf::WRITE_RGBA);
        file.setFrameBuffer(pixels, 1, static_cast<size_t>(width));
        file.writePixels(height);
    } catch (const std::exception& problem) {
        error = problem.what();
        return false;
    }
    return true;
}
