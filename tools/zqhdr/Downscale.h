#pragma once

#include "BandSink.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Passes on a smaller image to another sink as the bands arrive: the longer
// side becomes maxSize, the shorter keeps the aspect, rounded to the nearest
// pixel (halves up) and never below 1. Each output pixel is the area-weighted
// mean of the input it covers, so any ratio works. An image whose longer side
// is within maxSize (or without pixels, or with maxSize 0) passes unchanged.
// Only one row of sums and one output band are held, in the input's row order.
class Downscale : public BandSink {
public:
    // Output bytes a band aims at; a band is at least one row.
    static const size_t kDefaultBandBytes = size_t(64) << 10;

    Downscale(BandSink& next, unsigned maxSize, size_t bandBytes = kDefaultBandBytes)
        : m_next(next), m_maxSize(maxSize), m_bandBytes(bandBytes) {}

    bool Begin(const ImageShape& shape, std::string& error) override;
    bool Take(const Band& band, std::string& error) override;
    bool Finish(std::string& error) override;

    // Whether a failure was memory's: the sums or the band could not be had.
    bool RanOutOfMemory() const { return m_outOfMemory; }

    // The size an image of `in` becomes.
    static ImageShape OutputShape(const ImageShape& in, unsigned maxSize);

private:
    void AddRow(const unsigned char* pixels, uint64_t rowWeight);
    bool EmitRow(std::string& error);
    bool Flush(std::string& error);

    BandSink& m_next;
    unsigned m_maxSize;
    size_t m_bandBytes;
    bool m_passThrough = true;
    bool m_outOfMemory = false;
    ImageShape m_in, m_out;
    std::unique_ptr<double[]> m_sums; // R, G, B of the output row under way
    std::unique_ptr<unsigned char[]> m_band;
    unsigned m_bandRows = 0;  // the band's capacity
    unsigned m_pending = 0;   // rows in the band not yet passed on
    unsigned m_rowsTaken = 0; // input rows, in arrival order
    unsigned m_rowsMade = 0;  // output rows, in arrival order
};
