#include "Downscale.h"

#include <Imath/half.h>

#include <cstring>
#include <new>

// Positions are counted in units of 1/(W * w) of the image's width (and
// likewise down): input pixel x spans [x * w, (x + 1) * w), output pixel o
// spans [o * W, (o + 1) * W). The overlaps are whole units, so the weights
// are exact and every output pixel's weights sum to W * H.

namespace {

const size_t kBytesPerPixel = 8;

// By its bits rather than through a table, whose pages would add to the peak.
float HalfAt(const unsigned char* bytes) {
    const uint32_t half = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8;
    const uint32_t sign = (half & 0x8000) << 16, exponent = (half >> 10) & 0x1F;
    const uint32_t mantissa = half & 0x3FF;
    if (exponent == 0) {
        const float magnitude = float(mantissa) * 0x1p-24f; // exact: subnormal or zero
        return sign ? -magnitude : magnitude;
    }
    const uint32_t bits = exponent == 0x1F ? sign | 0x7F800000 | mantissa << 13
                                           : sign | (exponent + 112) << 23 | mantissa << 13;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void PutHalf(float value, unsigned char* bytes) {
    const unsigned short bits = Imath::half(value).bits();
    bytes[0] = static_cast<unsigned char>(bits & 0xFF);
    bytes[1] = static_cast<unsigned char>(bits >> 8);
}

unsigned ScaledSide(unsigned side, unsigned longest, unsigned maxSize) {
    const uint64_t product = uint64_t(side) * maxSize;
    uint64_t scaled = product / longest;
    if ((product % longest) * 2 >= longest) {
        ++scaled;
    }
    return scaled == 0 ? 1 : static_cast<unsigned>(scaled);
}

} // namespace

ImageShape Downscale::OutputShape(const ImageShape& in, unsigned maxSize) {
    const unsigned longest = in.width > in.height ? in.width : in.height;
    if (maxSize == 0 || longest <= maxSize || in.width == 0 || in.height == 0) {
        return in;
    }
    ImageShape out = in;
    out.width = ScaledSide(in.width, longest, maxSize);
    out.height = ScaledSide(in.height, longest, maxSize);
    return out;
}

bool Downscale::Begin(const ImageShape& shape, std::string& error) {
    m_in = shape;
    m_out = OutputShape(shape, m_maxSize);
    m_passThrough = m_out.width == m_in.width && m_out.height == m_in.height;
    if (m_passThrough) {
        return m_next.Begin(shape, error);
    }
    const size_t rowBytes = size_t(m_out.width) * kBytesPerPixel;
    const size_t wanted = m_bandBytes / rowBytes;
    m_bandRows = wanted == 0 ? 1 : wanted < m_out.height ? unsigned(wanted) : m_out.height;
    // Sizes beyond the address space fail as memory does.
    if (m_out.width > SIZE_MAX / (3 * sizeof(double)) || m_bandRows > SIZE_MAX / rowBytes) {
        m_outOfMemory = true;
    } else {
        m_sums.reset(new (std::nothrow) double[size_t(m_out.width) * 3]());
        m_band.reset(new (std::nothrow) unsigned char[m_bandRows * rowBytes]);
        m_outOfMemory = !m_sums || !m_band;
    }
    if (m_outOfMemory) {
        error = "out of memory";
        return false;
    }
    return m_next.Begin(m_out, error);
}

void Downscale::AddRow(const unsigned char* pixels, uint64_t rowWeight) {
    const uint64_t inWidth = m_in.width, outWidth = m_out.width;
    double* sum = m_sums.get();
    uint64_t start = 0, boundary = inWidth; // of the input pixel; of the output pixel
    for (unsigned x = 0; x < m_in.width; ++x, pixels += kBytesPerPixel) {
        const float rgb[3] = {HalfAt(pixels), HalfAt(pixels + 2), HalfAt(pixels + 4)};
        const uint64_t end = start + outWidth;
        // Weights are never 0, so an infinite value never meets one (0 x inf).
        const double first = double((end < boundary ? end : boundary) - start) * double(rowWeight);
        for (int c = 0; c < 3; ++c) {
            sum[c] += rgb[c] * first;
        }
        if (end >= boundary) {
            sum += 3;
            if (end > boundary) {
                // end - boundary < outWidth <= inWidth: the pixel reaches no further.
                const double rest = double(end - boundary) * double(rowWeight);
                for (int c = 0; c < 3; ++c) {
                    sum[c] += rgb[c] * rest;
                }
            }
            boundary += inWidth;
        }
        start = end;
    }
}

bool Downscale::EmitRow(std::string& error) {
    const size_t rowBytes = size_t(m_out.width) * kBytesPerPixel;
    // The band holds rows top to bottom: a bottom-to-top image fills it from its end.
    const unsigned slot = m_in.rowsTopToBottom ? m_pending : m_bandRows - 1 - m_pending;
    unsigned char* row = m_band.get() + slot * rowBytes;
    const double area = double(m_in.width) * double(m_in.height);
    double* sum = m_sums.get();
    for (unsigned x = 0; x < m_out.width; ++x, row += kBytesPerPixel, sum += 3) {
        for (int c = 0; c < 3; ++c) {
            PutHalf(static_cast<float>(sum[c] / area), row + 2 * c);
            sum[c] = 0.0;
        }
        // The decoder's alpha is always 1, and so is its mean.
        PutHalf(1.0f, row + 6);
    }
    ++m_rowsMade;
    return ++m_pending < m_bandRows || Flush(error);
}

bool Downscale::Flush(std::string& error) {
    if (m_pending == 0) {
        return true;
    }
    const size_t rowBytes = size_t(m_out.width) * kBytesPerPixel;
    Band band;
    band.rows = m_pending;
    if (m_in.rowsTopToBottom) {
        band.firstRow = m_rowsMade - m_pending;
        band.pixels = m_band.get();
    } else {
        band.firstRow = m_out.height - m_rowsMade;
        band.pixels = m_band.get() + (m_bandRows - m_pending) * rowBytes;
    }
    m_pending = 0;
    return m_next.Take(band, error);
}

bool Downscale::Take(const Band& band, std::string& error) {
    if (m_passThrough) {
        return m_next.Take(band, error);
    }
    const size_t rowBytes = size_t(m_in.width) * kBytesPerPixel;
    const uint64_t inHeight = m_in.height, outHeight = m_out.height;
    for (unsigned i = 0; i < band.rows; ++i) {
        // Rows in arrival order; bottom to top mirrors the same partition.
        const unsigned r = m_in.rowsTopToBottom ? i : band.rows - 1 - i;
        const unsigned char* pixels = band.pixels + r * rowBytes;
        const uint64_t start = uint64_t(m_rowsTaken) * outHeight;
        const uint64_t end = start + outHeight;
        const uint64_t boundary = uint64_t(m_rowsMade + 1) * inHeight;
        AddRow(pixels, (end < boundary ? end : boundary) - start);
        if (end >= boundary) {
            if (!EmitRow(error)) {
                return false;
            }
            if (end > boundary) {
                AddRow(pixels, end - boundary);
            }
        }
        ++m_rowsTaken;
    }
    return true;
}

bool Downscale::Finish(std::string& error) {
    return (m_passThrough || Flush(error)) && m_next.Finish(error);
}
