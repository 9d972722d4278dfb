#pragma once

#include <cstddef>
#include <zlib.h>

// One raw deflate stream (no zlib header or trailer), reset for each block:
// Huffman-only coding at level 1, so that blocks compressed apart join into
// one stream. zlib allocates through the tool's allocator, so that a failed
// allocation inside it reads as "out of memory".
class BlockDeflater {
public:
    BlockDeflater() = default;
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    // Each answers null, or the cause of the failure ("out of memory").
    const char* Init();
    // Room enough for the compressed form of `size` bytes, ended either way.
    size_t Bound(size_t size);
    // Compresses `size` bytes into `out`, ended with a sync flush, or as the
    // stream's last block; `written` receives the compressed size.
    const char* Compress(const unsigned char* in, size_t size, bool last, unsigned char* out,
                         size_t capacity, size_t& written);

private:
    const char* Cause(int code) const;

    z_stream m_stream{};
    bool m_ready = false;
    bool m_outOfMemory = false; // set by the allocator
};
