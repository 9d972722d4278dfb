#include "BlockDeflater.h"

#include "MemoryWatch.h"

#include <new>

namespace {

voidpf Allocate(voidpf opaque, uInt items, uInt size) {
    void* memory = nullptr;
    if (size == 0 || items <= size_t(-1) / size) {
        memory = ::operator new(size_t(items) * size, std::nothrow);
    }
    if (!memory) {
        *static_cast<bool*>(opaque) = true;
        NoteOutOfMemory();
    }
    return memory;
}

void Free(voidpf, voidpf memory) {
    ::operator delete(memory);
}

} // namespace

BlockDeflater::~BlockDeflater() {
    if (m_ready) {
        deflateEnd(&m_stream);
    }
}

const char* BlockDeflater::Cause(int code) const {
    if (m_outOfMemory || code == Z_MEM_ERROR) {
        return "out of memory";
    }
    return m_stream.msg ? m_stream.msg : zError(code);
}

const char* BlockDeflater::Init() {
    m_stream.zalloc = Allocate;
    m_stream.zfree = Free;
    m_stream.opaque = &m_outOfMemory;
    // A preview: speed before size. Huffman-only coding keeps most of the
    // gain of full deflate at a fraction of its time, and needs no window
    // carried from one block to the next.
    int code = deflateInit2(&m_stream, 1, Z_DEFLATED, -15, 8, Z_HUFFMAN_ONLY);
    m_ready = code == Z_OK;
    return m_ready ? nullptr : Cause(code);
}

size_t BlockDeflater::Bound(size_t size) {
    // The bound is for a Z_FINISH; a sync flush adds an empty stored block.
    return deflateBound(&m_stream, static_cast<uLong>(size)) + 16;
}

const char* BlockDeflater::Compress(const unsigned char* in, size_t size, bool last,
                                    unsigned char* out, size_t capacity, size_t& written) {
    int code = deflateReset(&m_stream);
    if (code != Z_OK) {
        return Cause(code);
    }
    m_stream.next_in = const_cast<unsigned char*>(in);
    m_stream.avail_in = static_cast<uInt>(size);
    m_stream.next_out = out;
    m_stream.avail_out = static_cast<uInt>(capacity);
    code = deflate(&m_stream, last ? Z_FINISH : Z_SYNC_FLUSH);
    // A sync flush that filled the output may not have ended.
    const bool complete = last ? code == Z_STREAM_END
                               : code == Z_OK && m_stream.avail_in == 0 && m_stream.avail_out > 0;
    if (!complete) {
        return code == Z_OK || code == Z_STREAM_END ? "compressed block larger than its bound"
                                                    : Cause(code);
    }
    written = capacity - m_stream.avail_out;
    return nullptr;
}
