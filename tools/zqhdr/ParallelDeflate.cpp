#include "ParallelDeflate.h"

#include <new>
#include <system_error>
#include <zlib.h>

namespace {

// Deflate with a 32 KiB window at the fastest level.
const unsigned char kZlibHeader[2] = {0x78, 0x01};
const size_t kHeaderBytes = 2, kTrailerBytes = 4;

} // namespace

ParallelDeflate::ParallelDeflate(size_t blockBytes, CompressedBlocks& out)
    : m_blockBytes(blockBytes), m_out(out) {}

ParallelDeflate::~ParallelDeflate() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_queued.notify_all();
    for (std::thread& worker : m_workers) {
        worker.join();
    }
}

bool ParallelDeflate::Fail(const std::string& cause, std::string& error) {
    if (m_failure.empty()) {
        m_failure = cause;
    }
    error = m_failure;
    return false;
}

bool ParallelDeflate::Start(unsigned threads, std::string& error) {
    const unsigned workers = threads > 1 ? threads : 0;
    for (unsigned i = 0; i < (workers > 0 ? workers : 1); ++i) {
        m_deflaters.push_back(std::make_unique<BlockDeflater>());
        if (const char* cause = m_deflaters.back()->Init()) {
            return Fail(cause, error);
        }
    }
    m_capacity = m_deflaters.front()->Bound(m_blockBytes);
    m_slots.resize(workers > 0 ? 2 * size_t(workers) : 1);
    for (unsigned i = 0; i < workers; ++i) {
        try {
            m_workers.emplace_back(&ParallelDeflate::Work, this, std::ref(*m_deflaters[i]));
        } catch (const std::system_error& problem) {
            return Fail(std::string("cannot start a compression thread: ") + problem.what(), error);
        }
    }
    return true;
}

bool ParallelDeflate::Acquire(std::string& error) {
    if (!m_failure.empty()) {
        return Fail(m_failure, error);
    }
    // The slot's block before this one must be written first.
    while (m_next - m_written >= m_slots.size()) {
        if (!WriteOldest(error)) {
            return false;
        }
    }
    Slot& slot = m_slots[m_next % m_slots.size()];
    if (!slot.out) {
        slot.out.reset(new (std::nothrow) unsigned char[kHeaderBytes + m_capacity + kTrailerBytes]);
        if (!slot.out) {
            return Fail("out of memory", error);
        }
    }
    return true;
}

unsigned char* ParallelDeflate::Space(std::string& error) {
    if (!Acquire(error)) {
        return nullptr;
    }
    Slot& slot = m_slots[m_next % m_slots.size()];
    if (!slot.space) {
        slot.space.reset(new (std::nothrow) unsigned char[m_blockBytes]);
        if (!slot.space) {
            Fail("out of memory", error);
        }
    }
    return slot.space.get();
}

void ParallelDeflate::Compress(Slot& slot, BlockDeflater& deflater, size_t capacity) {
    slot.adler = adler32(1, slot.in, static_cast<uInt>(slot.size));
    slot.failure = deflater.Compress(slot.in, slot.size, slot.last, slot.out.get() + kHeaderBytes,
                                     capacity, slot.written);
}

bool ParallelDeflate::Submit(const unsigned char* bytes, size_t size, bool last,
                             std::string& error) {
    if (!Acquire(error)) {
        return false;
    }
    Slot& slot = m_slots[m_next % m_slots.size()];
    slot.in = bytes;
    slot.size = size;
    slot.last = last;
    ++m_next;
    if (m_workers.empty()) {
        Compress(slot, *m_deflaters.front(), m_capacity);
        slot.done = true;
    } else {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            slot.done = false;
            m_submitted = m_next;
        }
        m_queued.notify_one();
    }
    // Finished blocks go out while the caller fills the next; after the
    // last, every block.
    while (m_written < m_next && (last || IsCompressed(m_written))) {
        if (!WriteOldest(error)) {
            return false;
        }
    }
    return true;
}

bool ParallelDeflate::IsCompressed(size_t block) {
    if (m_workers.empty()) {
        return true;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_slots[block % m_slots.size()].done;
}

bool ParallelDeflate::WriteOldest(std::string& error) {
    Slot& slot = m_slots[m_written % m_slots.size()];
    if (!m_workers.empty()) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_finished.wait(lock, [&] { return slot.done; });
    }
    if (slot.failure) {
        return Fail(slot.failure, error);
    }
    unsigned char* start = slot.out.get() + kHeaderBytes;
    size_t size = slot.written;
    if (m_written == 0) {
        start -= kHeaderBytes;
        start[0] = kZlibHeader[0];
        start[1] = kZlibHeader[1];
        size += kHeaderBytes;
    }
    m_adler = adler32_combine(m_adler, slot.adler, static_cast<z_off_t>(slot.size));
    if (slot.last) {
        unsigned char* trailer = slot.out.get() + kHeaderBytes + slot.written;
        for (int i = 0; i < 4; ++i) {
            trailer[i] = static_cast<unsigned char>(m_adler >> (24 - 8 * i));
        }
        size += kTrailerBytes;
    }
    ++m_written;
    return m_out.Write(start, size, error) || Fail(error, error);
}

void ParallelDeflate::Work(BlockDeflater& deflater) {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [&] { return m_stop || m_taken < m_submitted; });
        if (m_stop) {
            return;
        }
        Slot& slot = m_slots[m_taken++ % m_slots.size()];
        lock.unlock();
        Compress(slot, deflater, m_capacity);
        lock.lock();
        slot.done = true;
        m_finished.notify_all();
    }
}
