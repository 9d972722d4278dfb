#include "ImageWriters.h"
#include "OutputBytes.h"

namespace {

// Each band goes straight to its row offset, so bottom-to-top files need no
// image-sized buffer.
class RawWriter : public BandSink {
public:
    explicit RawWriter(ToolPlatform::FileHandle file) : m_out(file) {}

    bool Begin(const ImageShape& shape, std::string&) override {
        m_rowBytes = size_t(shape.width) * 8;
        return true;
    }

    bool Take(const Band& band, std::string& error) override {
        return (m_out.Seek(uint64_t(band.firstRow) * m_rowBytes) &&
                m_out.Write(band.pixels, band.rows * m_rowBytes)) ||
               m_out.Refuse(error, "cannot be written");
    }

    bool Finish(std::string& error) override {
        return m_out.Close() || m_out.Refuse(error, "cannot be closed");
    }

private:
    OutputBytes m_out;
    size_t m_rowBytes = 0;
};

} // namespace

std::unique_ptr<BandSink> MakeRawWriter(ToolPlatform::FileHandle file) {
    return std::make_unique<RawWriter>(file);
}
