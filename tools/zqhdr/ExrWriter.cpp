#include "ImageWriters.h"

#include <ImfHeader.h>
#include <ImfRgbaFile.h>

#include <exception>

namespace {

// Scanlines are written in the order they are decoded: a bottom-to-top file
// becomes an OpenEXR file of decreasing line order.
class ExrWriter : public BandSink {
public:
    explicit ExrWriter(std::string path) : m_path(std::move(path)) {}

    bool Begin(const ImageShape& shape, std::string& error) override {
        if (shape.width == 0 || shape.height == 0) {
            error = "an image without pixels cannot be written as OpenEXR";
            return false;
        }
        m_width = shape.width;
        return Guarded(error, [&] {
            Imf::Header header(static_cast<int>(shape.width), static_cast<int>(shape.height));
            header.lineOrder() = shape.rowsTopToBottom ? Imf::INCREASING_Y : Imf::DECREASING_Y;
            m_file = std::make_unique<Imf::RgbaOutputFile>(m_path.c_str(), header, Imf::WRITE_RGBA);
        });
    }

    bool Take(const Band& band, std::string& error) override {
        return Guarded(error, [&] {
            // The pixels are already four IEEE half floats each, as Imf::Rgba is.
            static_assert(sizeof(Imf::Rgba) == 8, "Rgba is four halves");
            const auto* first = reinterpret_cast<const Imf::Rgba*>(band.pixels);
            // OpenEXR addresses pixel (x, y) from a base of row 0.
            const Imf::Rgba* base = first - ptrdiff_t(band.firstRow) * ptrdiff_t(m_width);
            m_file->setFrameBuffer(base, 1, m_width);
            m_file->writePixels(static_cast<int>(band.rows));
        });
    }

    bool Finish(std::string& error) override {
        return Guarded(error, [&] { m_file.reset(); });
    }

private:
    template <typename Work> static bool Guarded(std::string& error, Work work) {
        try {
            work();
            return true;
        } catch (const std::exception& problem) {
            error = problem.what();
            return false;
        }
    }

    std::string m_path;
    size_t m_width = 0;
    std::unique_ptr<Imf::RgbaOutputFile> m_file;
};

} // namespace

std::unique_ptr<BandSink> MakeExrWriter(const std::string& path) {
    return std::make_unique<ExrWriter>(path);
}
