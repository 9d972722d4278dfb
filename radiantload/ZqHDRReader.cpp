#include "ZqHDRReader.h"

#include "HdrImageSize.h"
#include "HdrLayout.h"
#include "ReadAhead.h"
#include "RgbeConversion.h"
#include "ZqStricmp.h"

#include <cstring>
#include <new>

namespace {

bool FitsDestination(const ZqPixelData* data, unsigned width, unsigned height) {
    return data && data->GetWidth(0) == width && data->GetHeight(0) == height &&
           data->GetPixelFormat() == ZqPixelFormat::RGBA64;
}

} // namespace

ZqHDRReader::ZqHDRReader() = default;
ZqHDRReader::ZqHDRReader(const ZqHDRReader& other) = default;
ZqHDRReader& ZqHDRReader::operator=(const ZqHDRReader& other) = default;
ZqHDRReader::~ZqHDRReader() = default;

bool ZqHDRReader::CanReadFile(const char* extension) const {
    return extension && ZqStricmp(extension, ".hdr") == 0;
}

bool ZqHDRReader::ReadHeader(ZqFile& file, unsigned& width, unsigned& height, ZqPixelFormat& format,
                             bool& mipmaps, unsigned& faces) {
    format = ZqPixelFormat::RGBA64;
    mipmaps = false;
    faces = 1;
    bool unused;
    return ReadHeaderInternal(file, width, height, unused, unused, unused);
}

ZqPixelData* ZqHDRReader::ReadFile(ZqFile& file, ZqPixelData* reuse) {
    unsigned width = 0;
    unsigned height = 0;
    bool columnsLeftToRight = true;
    bool rowsTopToBottom = true;
    bool rowOrder = true;
    if (!ReadHeaderInternal(file, width, height, columnsLeftToRight, rowsTopToBottom, rowOrder)) {
        return nullptr;
    }
    const unsigned p = ZqPixelFormat::RGBA64.GetBitsPerPixel() / 8u;
    if (!HdrImageSizeIsSupported(width, height, p)) {
        return nullptr;
    }

    ZqPixelData* destination = reuse;
    bool made = false;
    if (!FitsDestination(reuse, width, height)) {
        destination = new (std::nothrow) ZqPixelData(width, height, ZqPixelFormat::RGBA64, 1, 1);
        if (!destination) {
            return nullptr;
        }
        made = true;
    }
    auto refuse = [&]() -> ZqPixelData* {
        if (made) {
            delete destination;
        }
        return nullptr;
    };
    unsigned char* start = destination->GetPixels(0);
    if (!start || destination->GetPixelStride() != p) {
        return refuse(); // no pixel memory could be had
    }

    const HdrPlacement place =
        PlaceScanlines(width, height, p, columnsLeftToRight, rowsTopToBottom);
    start += place.start;

    unsigned char firstFour[4] = {0, 0, 0, 0};
    if (!ReadExactly(file, firstFour, 4)) {
        // Only an image without pixels may end here.
        return width == 0 || height == 0 ? destination : refuse();
    }
    bool decoded = OpensRunLength(firstFour) ? ReadRLEFile(file, firstFour, start, place.rowStep,
                                                           place.columnStep, height, width, p)
                                             : ReadRawFile(file, firstFour, start, place.rowStep,
                                                           place.columnStep, height, width, p);
    return decoded ? destination : refuse();
}

void ZqHDRReader::ConvertRGBEToHalf(unsigned char* rgbe, unsigned char* out) {
    RgbePixelToHalf(rgbe, out);
}

void ZqHDRReader::ConvertRGBEToFloat(unsigned char* rgbe, unsigned char* out) {
    float channels[4];
    RgbePixelToFloat(rgbe, channels);
    std::memcpy(out, channels, sizeof channels);
}
