// Run-length scanlines. The cost is per packet, and a packet's place in the
// stream depends on the one before, so the decoder keeps that chain short:
// packets go in blocks that cannot overrun the plane or the read-ahead, with
// no test between them, each copied with wide stores whatever its length.
// The previous scanline is converted a few pixels after each block, so that
// its arithmetic and its writes to the destination overlap the packet chain.
#include "RunLengthRows.h"

#include "HdrLayout.h"
#include "RgbeKernels.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

// Packets between two tests. A block may pass its plane's end by up to this
// many 128-byte copies before the test finds it out, so each scanline buffer
// has as many bytes of slack.
const unsigned kBlockPackets = 4;
const size_t kBlockBytes = kBlockPackets * kLargestPacket;
const size_t kPlaneSlack = kBlockPackets * 128;

// A decoded scanline being converted into its row, 16 pixels at a time.
struct PendingRow {
    const unsigned char* planes = nullptr;
    unsigned char* row = nullptr;
    unsigned done = 0;
};

template <class Kernels> class RowDecoder {
public:
    RowDecoder(ReadAhead& source, unsigned columns, int columnStep)
        : m_source(source), m_columns(columns), m_step(columnStep), m_whole(columns / 16 * 16) {
        m_start = m_in = source.Current();
        m_end = m_start + source.Available();
    }

    // Hands the taken bytes back to the read-ahead.
    ~RowDecoder() { Sync(); }

    bool TakeOpening(unsigned char* opening) {
        Sync();
        bool taken = m_source.Take(opening, 4);
        Reload(m_source.Available());
        return taken;
    }

    // The four planes of one scanline into `planes`, converting the pending
    // row meanwhile.
    bool DecodePlanes(unsigned char* planes) {
        for (unsigned k = 0; k < 4; ++k) {
            if (!DecodePlane(planes + size_t(k) * m_columns)) {
                return false;
            }
        }
        return true;
    }

    void SetPending(const unsigned char* planes, unsigned char* row) {
        m_pending.planes = planes;
        m_pending.row = row;
        m_pending.done = 0;
    }

    void FinishPending() {
        if (!m_pending.planes) {
            return;
        }
        while (m_pending.done < m_whole) {
            ConvertStep();
        }
        for (unsigned j = m_whole; j < m_columns; ++j) {
            PlanePixelToHalf(m_pending.planes, m_columns, j, m_pending.row, m_step);
        }
        m_pending.planes = nullptr;
    }

private:
    void Sync() {
        m_source.Advance(static_cast<size_t>(m_in - m_start));
        m_start = m_in = m_source.Current();
    }

    void Reload(size_t available) {
        m_start = m_in = m_source.Current();
        m_end = m_start + available;
    }

    size_t Refill(size_t wanted) {
        Sync();
        Reload(m_source.Ensure(wanted));
        return static_cast<size_t>(m_end - m_in);
    }

    void ConvertStep() {
        Kernels::PlanesToHalf16(m_pending.planes, m_columns, m_pending.done, m_pending.row, m_step);
        m_pending.done += 16;
    }

    // Blocks of packets until one fails its test (near the plane's end, or
    // on a malformed packet), then packet by packet.
    bool DecodePlane(unsigned char* plane) {
        unsigned covered = 0;
        bool careful = false;
        while (covered < m_columns) {
            if (!careful && (static_cast<size_t>(m_end - m_in) >= kBlockBytes ||
                             Refill(kBlockBytes) >= kBlockBytes)) {
                if (DecodeBlock(plane, covered)) {
                    if (m_pending.planes && m_pending.done < m_whole) {
                        ConvertStep();
                    }
                    continue;
                }
                careful = true;
            }
            if (!DecodePacket(plane, covered)) {
                return false;
            }
        }
        return true;
    }

    // kBlockPackets packets, read from bytes already read ahead. False, with
    // nothing taken, when one has a count of 0 or the block passes the
    // plane's end: the careful path then takes those packets again.
    bool DecodeBlock(unsigned char* plane, unsigned& covered) {
        const unsigned char* in = m_in;
        unsigned reached = covered;
        bool zero = false;
        for (unsigned n = 0; n < kBlockPackets; ++n) {
            unsigned count = in[0];
            Kernels::CopyPacket(plane + reached, in);
            zero |= count == 0;
            if (count > 128) {
                reached += count - 128;
                in += 2;
            } else {
                reached += count;
                in += 1 + count;
            }
        }
        if (zero || reached > m_columns) {
            return false;
        }
        m_in = in;
        covered = reached;
        return true;
    }

    // One packet, every byte checked.
    bool DecodePacket(unsigned char* plane, unsigned& covered) {
        if (static_cast<size_t>(m_end - m_in) < kLargestPacket) {
            Refill(kLargestPacket);
        }
        if (m_in == m_end) {
            return false;
        }
        unsigned count = m_in[0];
        unsigned pixels = count > 128 ? count - 128 : count;
        size_t packet = count > 128 ? 2 : 1 + size_t(count);
        if (pixels == 0 || pixels > m_columns - covered) {
            ++m_in; // refused at its count byte
            return false;
        }
        if (static_cast<size_t>(m_end - m_in) < packet) {
            m_in = m_end; // the stream ends inside the packet
            return false;
        }
        // A wide copy may write past the plane's end, over the next plane
        // (decoded later) or into the slack.
        if (static_cast<size_t>(m_end - m_in) >= kLargestPacket) {
            Kernels::CopyPacket(plane + covered, m_in);
        } else {
            ScalarKernels::CopyPacket(plane + covered, m_in);
        }
        m_in += packet;
        covered += pixels;
        return true;
    }

    ReadAhead& m_source;
    const unsigned m_columns;
    const int m_step;
    const unsigned m_whole; // pixels converted 16 at a time
    const unsigned char* m_start;
    const unsigned char* m_in;
    const unsigned char* m_end;
    PendingRow m_pending;
};

template <class Kernels>
inline bool DecodeRows(ReadAhead& source, const unsigned char* firstFour,
                       unsigned char* destination, int rowStep, int columnStep, unsigned rows,
                       unsigned columns, unsigned bytesPerPixel, unsigned char* buffers) {
    const size_t stride = size_t(columns) * 4 + kPlaneSlack;
    const bool fast = IsFastLayout(columnStep, bytesPerPixel);
    RowDecoder<Kernels> decoder(source, columns, fast ? columnStep : 8);
    unsigned char* row = destination;
    bool decoded = true;
    for (unsigned i = 0; i < rows && decoded; ++i, row += rowStep) {
        unsigned char opening[4];
        if (i == 0) {
            std::memcpy(opening, firstFour, 4);
        } else if (!decoder.TakeOpening(opening)) {
            decoded = false;
            break;
        }
        if (opening[0] != 2 || opening[1] != 2 || (opening[2] & 0x80) != 0 ||
            (unsigned(opening[2]) << 8 | opening[3]) != columns) {
            decoded = false;
            break;
        }
        // Two scanline buffers: one decoded while the other is converted.
        unsigned char* planes = buffers + (i % 2) * stride;
        decoded = decoder.DecodePlanes(planes);
        decoder.FinishPending();
        if (!decoded) {
            break;
        }
        if (fast) {
            decoder.SetPending(planes, row);
            continue;
        }
        for (unsigned j = 0; j < columns; ++j) {
            const unsigned char pixel[4] = {planes[j], planes[columns + j],
                                            planes[2 * size_t(columns) + j],
                                            planes[3 * size_t(columns) + j]};
            RgbePixelToHalf(pixel, row + static_cast<long>(j) * columnStep);
        }
    }
    decoder.FinishPending();
    return decoded;
}

// One instantiation for each instruction set, everything inlined into it so
// that the kernels compile with its instructions.
bool DecodeRowsScalar(ReadAhead& source, const unsigned char* firstFour, unsigned char* destination,
                      int rowStep, int columnStep, unsigned rows, unsigned columns,
                      unsigned bytesPerPixel, unsigned char* buffers) {
    return DecodeRows<ScalarKernels>(source, firstFour, destination, rowStep, columnStep, rows,
                                     columns, bytesPerPixel, buffers);
}

#if defined(ZQ_HAVE_VECTOR_KERNELS)
__attribute__((target("avx2,fma,f16c"), flatten)) bool
DecodeRowsAvx2(ReadAhead& source, const unsigned char* firstFour, unsigned char* destination,
               int rowStep, int columnStep, unsigned rows, unsigned columns, unsigned bytesPerPixel,
               unsigned char* buffers) {
    return DecodeRows<Avx2Kernels>(source, firstFour, destination, rowStep, columnStep, rows,
                                   columns, bytesPerPixel, buffers);
}

__attribute__((target("avx512f,avx512bw,avx2,fma,f16c"), flatten)) bool
DecodeRowsAvx512(ReadAhead& source, const unsigned char* firstFour, unsigned char* destination,
                 int rowStep, int columnStep, unsigned rows, unsigned columns,
                 unsigned bytesPerPixel, unsigned char* buffers) {
    return DecodeRows<Avx512Kernels>(source, firstFour, destination, rowStep, columnStep, rows,
                                     columns, bytesPerPixel, buffers);
}
#endif

} // namespace

bool DecodeRunLengthRows(VectorPath path, ReadAhead& source, const unsigned char* firstFour,
                         unsigned char* destination, int rowStep, int columnStep, unsigned rows,
                         unsigned columns, unsigned bytesPerPixel) {
    std::unique_ptr<unsigned char[]> buffers(
        new (std::nothrow) unsigned char[2 * (size_t(columns) * 4 + kPlaneSlack)]);
    if (!buffers) {
        return false;
    }
    auto decode = DecodeRowsScalar;
#if defined(ZQ_HAVE_VECTOR_KERNELS)
    if (path == VectorPath::Avx512) {
        decode = DecodeRowsAvx512;
    } else if (path == VectorPath::Avx2) {
        decode = DecodeRowsAvx2;
    }
#else
    (void)path;
#endif
    return decode(source, firstFour, destination, rowStep, columnStep, rows, columns, bytesPerPixel,
                  buffers.get());
}
