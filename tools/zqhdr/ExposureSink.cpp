#include "ExposureSink.h"

#include <Imath/half.h>

#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace {

const size_t kPieceBytes = size_t(1) << 20;
const unsigned kBytesPerPixel = 8;

class ExposureSink : public BandSink {
public:
    ExposureSink(std::unique_ptr<BandSink> writer, double stops)
        : m_writer(std::move(writer)), m_scale(static_cast<float>(std::exp2(stops))) {}

    bool Begin(const ImageShape& shape, std::string& error) override {
        m_shape = shape;
        const size_t rowBytes = size_t(shape.width) * kBytesPerPixel;
        m_pieceRows =
            rowBytes == 0 || rowBytes >= kPieceBytes ? 1 : unsigned(kPieceBytes / rowBytes);
        return m_writer->Begin(shape, error);
    }

    bool Take(const Band& band, std::string& error) override {
        const size_t rowBytes = size_t(m_shape.width) * kBytesPerPixel;
        const unsigned pieceRows = band.rows < m_pieceRows ? band.rows : m_pieceRows;
        if (m_scaled.size() < pieceRows * rowBytes) {
            try {
                m_scaled.resize(pieceRows * rowBytes);
            } catch (const std::bad_alloc&) {
                error = "out of memory";
                return false;
            }
        }
        // In the file's row order, as the writer expects the rows to come.
        for (unsigned done = 0; done < band.rows; done += pieceRows) {
            const unsigned rows = band.rows - done < pieceRows ? band.rows - done : pieceRows;
            const unsigned offset = m_shape.rowsTopToBottom ? done : band.rows - done - rows;
            Scale(band.pixels + offset * rowBytes, size_t(rows) * m_shape.width);
            const Band piece{band.firstRow + offset, rows, m_scaled.data()};
            if (!m_writer->Take(piece, error)) {
                return false;
            }
        }
        return true;
    }

    bool Finish(std::string& error) override { return m_writer->Finish(error); }

private:
    void Scale(const unsigned char* pixels, size_t count) {
        for (size_t i = 0; i < count * 4; ++i) {
            Imath::half value;
            std::memcpy(&value, pixels + 2 * i, 2);
            // Zero stays zero however large the scale: never NaN.
            if (i % 4 != 3 && float(value) != 0.0f) {
                value = Imath::half(float(value) * m_scale);
            }
            std::memcpy(m_scaled.data() + 2 * i, &value, 2);
        }
    }

    std::unique_ptr<BandSink> m_writer;
    const float m_scale;
    ImageShape m_shape;
    unsigned m_pieceRows = 1;
    std::vector<unsigned char> m_scaled;
};

} // namespace

std::unique_ptr<BandSink> Exposed(std::unique_ptr<BandSink> writer, double stops) {
    if (stops == 0.0) {
        return writer;
    }
    return std::make_unique<ExposureSink>(std::move(writer), stops);
}
