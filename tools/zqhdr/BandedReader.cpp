#include "BandedReader.h"

#include "HdrImageSize.h"
#include "HdrLayout.h"

#include <memory>
#include <new>

namespace {

const unsigned kBytesPerPixel = 8;

} // namespace

bool BandedReader::ReadImageHeader(ZqFile& file) {
    m_shape = ImageShape();
    bool rowOrder = true;
    return ReadHeaderInternal(file, m_shape.width, m_shape.height, m_shape.columnsLeftToRight,
                              m_shape.rowsTopToBottom, rowOrder);
}

BandedReader::Result BandedReader::Decode(ZqFile& file, BandSink& sink, std::string& error) {
    return ReadImageHeader(file) ? DecodePixels(file, sink, error) : Result::HeaderRefused;
}

BandedReader::Result BandedReader::DecodePixels(ZqFile& file, BandSink& sink, std::string& error) {
    const ImageShape& shape = m_shape;
    if (!HdrImageSizeIsSupported(shape.width, shape.height, kBytesPerPixel)) {
        return Result::TooLarge;
    }
    const unsigned width = shape.width;
    const unsigned height = shape.height;
    m_refused = RowRange{0, height == 0 ? 0 : height - 1};
    const unsigned byteSize = 1;
    unsigned char opening[4];
    if (width == 0 || height == 0) {
        // As a whole ReadFile has it: the data may end here, and what follows
        // must still be scanlines of no pixels.
        unsigned char nothing[8];
        const bool decoded =
            file.BinaryRead(opening, 4, &byteSize, 1) != 4 ||
            (OpensRunLength(opening) ? ReadRLEFile(file, opening, nothing, 0, 8, height, width, 8)
                                     : ReadRawFile(file, opening, nothing, 0, 8, height, width, 8));
        if (!decoded) {
            return Result::DataRefused;
        }
        return sink.Begin(shape, error) && sink.Finish(error) ? Result::Decoded
                                                              : Result::SinkFailed;
    }
    if (!sink.Begin(shape, error)) {
        return Result::SinkFailed;
    }
    if (file.BinaryRead(opening, 4, &byteSize, 1) != 4) {
        return Result::DataRefused;
    }
    // The form is the image's, decided once by its first four bytes.
    const bool runLength = OpensRunLength(opening);

    const size_t rowBytes = size_t(width) * kBytesPerPixel;
    const size_t wanted = m_bandBytes / rowBytes;
    const unsigned bandRows = wanted == 0 ? 1 : wanted < height ? unsigned(wanted) : height;
    std::unique_ptr<unsigned char[]> band(new (std::nothrow) unsigned char[bandRows * rowBytes]);
    if (!band) {
        return Result::OutOfMemory;
    }

    for (unsigned done = 0; done < height; done += bandRows) {
        const unsigned rows = height - done < bandRows ? height - done : bandRows;
        const unsigned top = shape.rowsTopToBottom ? done : height - done - rows;
        m_refused = RowRange{top, top + rows - 1};
        // A later band opens with its own first four bytes: a scanline's
        // opening, or its first flat pixel.
        if (done > 0 && file.BinaryRead(opening, 4, &byteSize, 1) != 4) {
            return Result::DataRefused;
        }
        const HdrPlacement place = PlaceScanlines(width, rows, kBytesPerPixel,
                                                  shape.columnsLeftToRight, shape.rowsTopToBottom);
        unsigned char* start = band.get() + place.start;
        const bool decoded = runLength ? ReadRLEFile(file, opening, start, place.rowStep,
                                                     place.columnStep, rows, width, kBytesPerPixel)
                                       : ReadRawFile(file, opening, start, place.rowStep,
                                                     place.columnStep, rows, width, kBytesPerPixel);
        if (!decoded) {
            return Result::DataRefused;
        }
        Band out;
        out.firstRow = top;
        out.rows = rows;
        out.pixels = band.get();
        if (!sink.Take(out, error)) {
            return Result::SinkFailed;
        }
    }
    return sink.Finish(error) ? Result::Decoded : Result::SinkFailed;
}
