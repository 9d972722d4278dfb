#include "DecodeProgress.h"

bool CountingSink::Begin(const ImageShape& shape, std::string& error) {
    m_width = shape.width;
    return m_sink.Begin(shape, error);
}

bool CountingSink::Take(const Band& band, std::string& error) {
    if (m_progress) {
        m_progress->Decoded(static_cast<unsigned long long>(band.rows) * m_width);
    }
    return m_sink.Take(band, error);
}
