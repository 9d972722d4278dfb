#pragma once

#include "BandSink.h"
#include "ZqHDRReader.h"

// Decodes an image in bands of whole rows through the reader's own decoders,
// each band into one reused buffer, so that memory stays bounded whatever the
// image size. The pixels are those a whole ReadFile gives.
class BandedReader : public ZqHDRReader {
public:
    // Output bytes a band aims at; a band is at least one row. Larger than the
    // decoders' read-ahead, whose unused part each call hands back.
    static const size_t kDefaultBandBytes = size_t(12) << 20;

    enum class Result { Decoded, HeaderRefused, TooLarge, DataRefused, OutOfMemory, SinkFailed };

    explicit BandedReader(size_t bandBytes = kDefaultBandBytes) : m_bandBytes(bandBytes) {}

    // Reads the header from the file's start: false when the reader refuses
    // it. The file then stands at the first byte of pixel data.
    bool ReadImageHeader(ZqFile& file);
    // After ReadImageHeader, the pixels, band by band; `error` holds the
    // sink's reason when the result is SinkFailed.
    Result DecodePixels(ZqFile& file, BandSink& sink, std::string& error);
    // Both, from the file's start.
    Result Decode(ZqFile& file, BandSink& sink, std::string& error);
    // The size and orientation the header gave, once it was read.
    const ImageShape& Shape() const { return m_shape; }
    // The image rows, top first, of the band whose data was refused.
    struct RowRange {
        unsigned first = 0;
        unsigned last = 0;
    };
    const RowRange& RefusedRows() const { return m_refused; }

private:
    size_t m_bandBytes;
    ImageShape m_shape;
    RowRange m_refused;
};
