#include "ImageWriters.h"
#include "OutputBytes.h"
#include "ParallelDeflate.h"
#include "PngChunks.h"
#include "ToneMap.h"
#include "UpFilter.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <new>

namespace {

const unsigned char kUpFilter = 2;

// Rows are tone mapped and Up filtered into blocks, compressed on every
// thread asked for, and written as one IDAT chunk a block. Top-to-bottom
// files are written as the bands arrive; bottom-to-top ones keep the
// filtered preview until the top row has arrived.
class PngWriter : public BandSink, private CompressedBlocks {
public:
    PngWriter(ToolPlatform::FileHandle file, double exposure, unsigned threads, size_t blockBytes)
        : m_tone(exposure), m_out(file), m_blockBytes(std::max<size_t>(blockBytes, 3)),
          m_threads(threads), m_deflate(m_blockBytes, *this) {}

    bool Begin(const ImageShape& shape, std::string& error) override {
        if (shape.width == 0 || shape.height == 0) {
            error = "an image without pixels cannot be written as PNG";
            return false;
        }
        return Guarded(error, [&] {
            m_shape = shape;
            m_rowBytes = size_t(shape.width) * 3;
            // The row above the first is zeros.
            const size_t keep =
                shape.rowsTopToBottom ? m_rowBytes : (m_rowBytes + 1) * shape.height;
            m_kept.reset(new (std::nothrow) unsigned char[keep]());
            if (!m_kept) {
                return Refuse(error, "out of memory");
            }
            return m_deflate.Start(Threads(), error) &&
                   (WritePngStart(m_out, shape.width, shape.height) || Refuse(error, ""));
        });
    }

    bool Take(const Band& band, std::string& error) override {
        return Guarded(error, [&] {
            if (!m_shape.rowsTopToBottom) {
                KeepRows(band);
                return true;
            }
            for (unsigned i = 0; i < band.rows; ++i) {
                if (!PutRow(band.pixels + i * m_shape.width * size_t(8), error)) {
                    return false;
                }
            }
            return true;
        });
    }

    bool Finish(std::string& error) override {
        return Guarded(error, [&] {
            if (m_shape.rowsTopToBottom) {
                if (!m_deflate.Submit(m_space, m_used, true, error)) {
                    return false;
                }
            } else {
                const size_t total = (m_rowBytes + 1) * m_shape.height;
                for (size_t at = 0; at < total; at += m_blockBytes) {
                    const size_t size = std::min(m_blockBytes, total - at);
                    if (!m_deflate.Submit(m_kept.get() + at, size, at + size == total, error)) {
                        return false;
                    }
                }
            }
            return (WritePngEnd(m_out) && m_out.Close()) || Refuse(error, "cannot be closed");
        });
    }

private:
    bool Write(const unsigned char* bytes, size_t size, std::string& error) override {
        return WritePngChunk(m_out, "IDAT", bytes, size) || Refuse(error, "");
    }

    // No more threads than the image has blocks.
    unsigned Threads() const {
        const size_t total = (m_rowBytes + 1) * m_shape.height;
        const size_t blocks = total / m_blockBytes + (total % m_blockBytes != 0);
        return static_cast<unsigned>(std::min<size_t>(m_threads, blocks));
    }

    bool Refuse(std::string& error, const std::string& reason) const {
        return m_out.Refuse(error, reason);
    }

    // No exception leaves the writer: memory that runs out fails the file.
    template <typename Work> bool Guarded(std::string& error, Work work) {
        try {
            return work();
        } catch (const std::bad_alloc&) {
            return Refuse(error, "out of memory");
        } catch (const std::exception& problem) {
            return Refuse(error, problem.what());
        }
    }

    // Makes room for `bytes` more in the block being filled, handing it to
    // be compressed when it has less.
    bool Room(size_t bytes, std::string& error) {
        if (m_space && m_blockBytes - m_used >= bytes) {
            return true;
        }
        if (m_space && !m_deflate.Submit(m_space, m_used, false, error)) {
            return false;
        }
        m_used = 0;
        m_space = m_deflate.Space(error);
        return m_space != nullptr;
    }

    // A row may span blocks: it goes in as many pixels at a time as fit.
    bool PutRow(const unsigned char* halves, std::string& error) {
        if (!Room(1, error)) {
            return false;
        }
        m_space[m_used++] = kUpFilter;
        for (size_t x = 0; x < m_shape.width;) {
            if (!Room(3, error)) {
                return false;
            }
            const size_t count = std::min<size_t>(m_shape.width - x, (m_blockBytes - m_used) / 3);
            unsigned char* rgb = m_space + m_used;
            m_tone.Row(halves + x * 8, count, rgb);
            FilterUpKeeping(rgb, m_kept.get() + x * 3, count * 3);
            m_used += count * 3;
            x += count;
        }
        return true;
    }

    // Bands arrive bottom up. Each row is filtered once the row above it has
    // arrived, which stays as it is until the row above that one has too.
    void KeepRows(const Band& band) {
        const size_t stride = m_rowBytes + 1;
        for (unsigned i = 0; i < band.rows; ++i) {
            unsigned char* row = m_kept.get() + (band.firstRow + i) * stride;
            row[0] = kUpFilter;
            m_tone.Row(band.pixels + i * m_shape.width * size_t(8), m_shape.width, row + 1);
        }
        const unsigned below = std::min(band.firstRow + band.rows, m_shape.height - 1);
        for (unsigned row = below; row > band.firstRow; --row) {
            FilterUp(m_kept.get() + row * stride + 1, m_kept.get() + (row - 1) * stride + 1,
                     m_rowBytes);
        }
    }

    ToneMap m_tone;
    OutputBytes m_out;
    const size_t m_blockBytes; // a pixel fits in a block
    const unsigned m_threads;
    ImageShape m_shape;
    size_t m_rowBytes = 0;
    // Top-to-bottom files: the last row's RGB, unfiltered. Bottom-to-top
    // files: the whole preview, filter bytes and all.
    std::unique_ptr<unsigned char[]> m_kept;
    unsigned char* m_space = nullptr; // the block being filled
    size_t m_used = 0;
    // Declared last: its workers stop before the rest goes.
    ParallelDeflate m_deflate;
};

} // namespace

std::unique_ptr<BandSink> MakePngWriter(ToolPlatform::FileHandle file, double exposure,
                                        unsigned threads, size_t blockBytes) {
    return std::make_unique<PngWriter>(file, exposure, threads, blockBytes);
}
