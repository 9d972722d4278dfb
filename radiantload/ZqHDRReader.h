#pragma once

#include "RadiantLoadApi.h"
#include "ZqFile.h"
#include "ZqImageReader.h"

// Reads Radiance RGBE images (".hdr") into 16-bit float RGBA pixel data.
class RADIANTLOAD_API ZqHDRReader : public ZqImageReader {
public:
    ZqHDRReader();
    ZqHDRReader(const ZqHDRReader& other);
    ZqHDRReader& operator=(const ZqHDRReader& other);
    ~ZqHDRReader() override;

    // True for ".hdr" in any letter case.
    bool CanReadFile(const char* extension) const override;
    ZqPixelData* ReadFile(ZqFile& file, ZqPixelData* reuse) override;
    // Always RGBA64, no mipmaps, one face; true when the header is accepted.
    bool ReadHeader(ZqFile& file, unsigned& width, unsigned& height, ZqPixelFormat& format,
                    bool& mipmaps, unsigned& faces) override;

protected:
    // Rewinds, reads the header lines and the resolution line; after true the
    // file stands at the first byte of pixel data.
    bool ReadHeaderInternal(ZqFile& file, unsigned& width, unsigned& height,
                            bool& columnsLeftToRight, bool& rowsTopToBottom, bool& rowOrder);

    // Decode `rows` scanlines of `columns` pixels: pixel j of scanline i goes
    // to destination + i * rowStep + j * columnStep. `firstFour` holds the
    // pixel data's first four bytes, already read. False refuses the data.
    bool ReadRLEFile(ZqFile& file, unsigned char* const firstFour, unsigned char* destination,
                     int rowStep, int columnStep, unsigned rows, unsigned columns,
                     unsigned bytesPerPixel);
    bool ReadRawFile(ZqFile& file, unsigned char* const firstFour, unsigned char* destination,
                     int rowStep, int columnStep, unsigned rows, unsigned columns,
                     unsigned bytesPerPixel);

    // One RGBE pixel to four 16-bit floats (8 bytes) or four 32-bit floats
    // (16 bytes), red, green, blue, alpha 1.
    static void ConvertRGBEToHalf(unsigned char* rgbe, unsigned char* out);
    static void ConvertRGBEToFloat(unsigned char* rgbe, unsigned char* out);
};
