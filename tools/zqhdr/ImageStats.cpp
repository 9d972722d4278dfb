#include "ImageStats.h"

#include <Imath/half.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

const uint16_t kMagnitude = 0x7FFF;
const uint16_t kInfinity = 0x7C00;

// Every half's value, once, instead of a conversion per channel.
struct HalfTable {
    float value[65536];
    HalfTable() {
        for (unsigned bits = 0; bits < 65536; ++bits) {
            Imath::half half;
            half.setBits(static_cast<unsigned short>(bits));
            value[bits] = static_cast<float>(half);
        }
    }
};

const HalfTable& Halves() {
    static const HalfTable table;
    return table;
}

} // namespace

bool StatsSink::Begin(const ImageShape& shape, std::string&) {
    m_width = shape.width;
    const double none = std::numeric_limits<double>::quiet_NaN();
    for (int c = 0; c < 3; ++c) {
        m_stats.min[c] = m_stats.max[c] = m_stats.mean[c] = none;
    }
    return true;
}

bool StatsSink::Take(const Band& band, std::string&) {
    const float* value = Halves().value;
    const size_t count = size_t(band.rows) * m_width;
    // Gathered per band, then added to the totals.
    float low[3], high[3];
    double sum[3] = {0, 0, 0};
    uint64_t finite[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        low[c] = std::numeric_limits<float>::infinity();
        high[c] = -std::numeric_limits<float>::infinity();
    }
    for (size_t i = 0; i < count; ++i) {
        uint16_t channels[4];
        std::memcpy(channels, band.pixels + 8 * i, sizeof channels);
        bool overflowed = false;
        for (int c = 0; c < 3; ++c) {
            if ((channels[c] & kMagnitude) >= kInfinity) {
                overflowed = true;
                continue;
            }
            float v = value[channels[c]];
            low[c] = v < low[c] ? v : low[c];
            high[c] = v > high[c] ? v : high[c];
            sum[c] += v;
            ++finite[c];
        }
        m_stats.overflowed += overflowed;
        m_stats.black += ((channels[0] | channels[1] | channels[2]) & kMagnitude) == 0;
    }
    for (int c = 0; c < 3; ++c) {
        if (finite[c] == 0) {
            continue;
        }
        if (m_finite[c] == 0 || low[c] < m_stats.min[c]) {
            m_stats.min[c] = low[c];
        }
        if (m_finite[c] == 0 || high[c] > m_stats.max[c]) {
            m_stats.max[c] = high[c];
        }
        m_sum[c] += sum[c];
        m_finite[c] += finite[c];
    }
    return true;
}

bool StatsSink::Finish(std::string&) {
    for (int c = 0; c < 3; ++c) {
        if (m_finite[c] > 0) {
            m_stats.mean[c] = m_sum[c] / double(m_finite[c]);
        }
    }
    return true;
}
