#include "DecodeProgress.h"

namespace {

class CountingSink : public BandSink {
public:
    CountingSink(std::unique_ptr<BandSink> sink, DecodeProgress& progress)
        : m_sink(std::move(sink)), m_progress(progress) {}

    bool Begin(const ImageShape& shape, std::string& error) override {
        m_width = shape.width;
        return m_sink->Begin(shape, error);
    }
    bool Take(const Band& band, std::string& error) override {
        m_progress.Decoded(static_cast<unsigned long long>(band.rows) * m_width);
        return m_sink->Take(band, error);
    }
    bool Finish(std::string& error) override { return m_sink->Finish(error); }

private:
    std::unique_ptr<BandSink> m_sink;
    DecodeProgress& m_progress;
    unsigned m_width = 0;
};

} // namespace

std::unique_ptr<BandSink> Counted(std::unique_ptr<BandSink> sink, DecodeProgress* progress) {
    if (!progress) {
        return sink;
    }
    return std::make_unique<CountingSink>(std::move(sink), *progress);
}
