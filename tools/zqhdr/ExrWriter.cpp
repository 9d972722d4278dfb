#include "ImageWriters.h"
#include "OutputBytes.h"

#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfRgbaFile.h>

#include <exception>
#include <stdexcept>
#include <utility>

namespace {

// OpenEXR's own file stream loses the last failures: the line offset table is
// written by a destructor that swallows errors, and the close goes unchecked,
// so a full disk would pass for a complete file. This stream writes through
// OutputBytes, which keeps the first failure for Finish to report.
class CheckedStream : public Imf::OStream {
public:
    explicit CheckedStream(const std::string& path) : Imf::OStream(path.c_str()), m_out(path) {}

    OutputBytes& Out() { return m_out; }

    void write(const char c[], int n) override {
        if (!m_out.Write(c, size_t(n))) {
            throw std::runtime_error(m_out.Failure());
        }
    }
    uint64_t tellp() override { return m_out.Position(); }
    void seekp(uint64_t position) override {
        if (!m_out.Seek(position)) {
            throw std::runtime_error(m_out.Failure());
        }
    }

private:
    OutputBytes m_out;
};

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
        m_stream = std::make_unique<CheckedStream>(m_path);
        if (!m_stream->Out().Open()) {
            return m_stream->Out().Refuse(error, "cannot be opened");
        }
        return Guarded(error, [&] {
            Imf::Header header(static_cast<int>(shape.width), static_cast<int>(shape.height));
            header.lineOrder() = shape.rowsTopToBottom ? Imf::INCREASING_Y : Imf::DECREASING_Y;
            m_file = std::make_unique<Imf::RgbaOutputFile>(*m_stream, header, Imf::WRITE_RGBA);
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
        if (!Guarded(error, [&] { m_file.reset(); })) {
            return false;
        }
        return m_stream->Out().Close() || m_stream->Out().Refuse(error, "cannot be closed");
    }

private:
    // OpenEXR reports by exception; the cause is the file's when it failed.
    template <typename Work> bool Guarded(std::string& error, Work work) {
        try {
            work();
            return true;
        } catch (const std::exception& problem) {
            return m_stream->Out().Refuse(error, problem.what());
        }
    }

    std::string m_path;
    size_t m_width = 0;
    // Declared before m_file, so that it outlives the file written through it.
    std::unique_ptr<CheckedStream> m_stream;
    std::unique_ptr<Imf::RgbaOutputFile> m_file;
};

} // namespace

std::unique_ptr<BandSink> MakeExrWriter(const std::string& path) {
    return std::make_unique<ExrWriter>(path);
}
