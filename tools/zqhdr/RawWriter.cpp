#include "ImageWriters.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Each band goes straight to its row offset, so bottom-to-top files need no
// image-sized buffer.
class RawWriter : public BandSink {
public:
    explicit RawWriter(std::string path) : m_path(std::move(path)) {}
    ~RawWriter() override {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

    bool Begin(const ImageShape& shape, std::string& error) override {
        m_rowBytes = size_t(shape.width) * 8;
        m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        return m_fd >= 0 || Failed(error);
    }

    bool Take(const Band& band, std::string& error) override {
        const unsigned char* bytes = band.pixels;
        size_t remaining = band.rows * m_rowBytes;
        off_t offset = static_cast<off_t>(band.firstRow * m_rowBytes);
        while (remaining > 0) {
            ssize_t written = ::pwrite(m_fd, bytes, remaining, offset);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return Failed(error);
            }
            bytes += written;
            remaining -= size_t(written);
            offset += written;
        }
        return true;
    }

    bool Finish(std::string& error) override {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 || Failed(error);
    }

private:
    static bool Failed(std::string& error) {
        error = std::strerror(errno == 0 ? EIO : errno);
        return false;
    }

    std::string m_path;
    int m_fd = -1;
    size_t m_rowBytes = 0;
};

} // namespace

std::unique_ptr<BandSink> MakeRawWriter(const std::string& path) {
    return std::make_unique<RawWriter>(path);
}
