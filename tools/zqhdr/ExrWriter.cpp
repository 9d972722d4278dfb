#include "ImageWriters.h"

#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfRgbaFile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <utility>

namespace {

// OpenEXR's own file stream loses the last failures: the line offset table is
// written by a destructor that swallows errors, and the close goes unchecked,
// so a full disk would pass for a complete file. This stream remembers the
// first failure for Close to report.
class CheckedStream : public Imf::OStream {
public:
    explicit CheckedStream(const std::string& path)
        : Imf::OStream(path.c_str()), m_file(std::fopen(path.c_str(), "wb")),
          m_errno(m_file ? 0 : errno) {}
    ~CheckedStream() override {
        if (m_file) {
            std::fclose(m_file);
        }
    }
    CheckedStream(const CheckedStream&) = delete;
    CheckedStream& operator=(const CheckedStream&) = delete;

    bool IsOpen() const { return m_file != nullptr; }

    void write(const char c[], int n) override {
        if (std::fwrite(c, 1, size_t(n), m_file) != size_t(n)) {
            Fail();
        }
    }
    uint64_t tellp() override {
        off_t position = ftello(m_file);
        if (position < 0) {
            Fail();
        }
        return uint64_t(position);
    }
    void seekp(uint64_t position) override {
        if (fseeko(m_file, off_t(position), SEEK_SET) != 0) {
            Fail();
        }
    }

    // Flushes and closes; false with `error` set when anything failed.
    bool Close(std::string& error) {
        std::FILE* file = std::exchange(m_file, nullptr);
        if (file && std::fclose(file) != 0 && m_errno == 0) {
            m_errno = errno;
        }
        if (m_errno != 0) {
            error = std::strerror(m_errno);
            return false;
        }
        return true;
    }
    std::string Error() const { return std::strerror(m_errno); }

private:
    [[noreturn]] void Fail() {
        if (m_errno == 0) {
            m_errno = errno != 0 ? errno : EIO;
        }
        throw std::runtime_error(std::strerror(m_errno));
    }

    std::FILE* m_file;
    int m_errno;
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
        if (!m_stream->IsOpen()) {
            error = m_stream->Error();
            return false;
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
        return Guarded(error, [&] { m_file.reset(); }) && m_stream->Close(error);
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
    // Declared before m_file, so that it outlives the file written through it.
    std::unique_ptr<CheckedStream> m_stream;
    std::unique_ptr<Imf::RgbaOutputFile> m_file;
};

} // namespace

std::unique_ptr<BandSink> MakeExrWriter(const std::string& path) {
    return std::make_unique<ExrWriter>(path);
}
