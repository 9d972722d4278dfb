#pragma once

#include "BandSink.h"

#include <cstdint>

// What `zqhdr info --stats` reports of the decoded pixels.
struct PixelStats {
    // Red, green and blue over the finite values: an overflowed channel is
    // counted in `overflowed` instead. No finite value: all three stay NaN.
    double min[3];
    double max[3];
    double mean[3];
    uint64_t overflowed = 0; // pixels with a channel at infinity
    uint64_t black = 0;      // pixels whose three channels are zero
};

// A sink that gathers PixelStats over every band.
class StatsSink : public BandSink {
public:
    bool Begin(const ImageShape& shape, std::string& error) override;
    bool Take(const Band& band, std::string& error) override;
    bool Finish(std::string& error) override;

    const PixelStats& Stats() const { return m_stats; }

private:
    unsigned m_width = 0;
    double m_sum[3] = {0, 0, 0};
    uint64_t m_finite[3] = {0, 0, 0};
    PixelStats m_stats;
};
