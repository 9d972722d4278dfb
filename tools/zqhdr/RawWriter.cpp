#include "ImageWriters.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool WriteRaw(const ZqPixelData& image, const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    // Large writes straight from the pixels: no staging copy.
    std::setvbuf(file, nullptr, _IONBF, 0);
    const unsigned char* bytes = image.GetPixels(0);
    size_t remaining = image.GetSizeInBytes(0);
    const size_t chunk = size_t(64) << 20;
    bool written = true;
    while (written && remaining > 0) {
        size_t size = remaining < chunk ? remaining : chunk;
        written = std::fwrite(bytes, 1, size, file) == size;
        bytes += size;
        remaining -= size;
    }
    if (!written) {
        error = std::strerror(errno);
    }
    if (std::fclose(file) != 0 && written) {
        error = std::strerror(errno);
        written = false;
    }
    return written;
}
