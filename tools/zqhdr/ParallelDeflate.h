#pragma once

#include "BlockDeflater.h"

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Takes the zlib stream in order, one finished block at a time.
class CompressedBlocks {
public:
    virtual ~CompressedBlocks() = default;
    virtual bool Write(const unsigned char* bytes, size_t size, std::string& error) = 0;
};

// One zlib stream from blocks compressed apart: the header once, each block
// raw deflate ended by a sync flush (the last by a finish), the blocks'
// Adler-32 checksums joined into the trailer. With more than one thread,
// workers compress while the caller fills the next blocks, and the caller
// writes finished blocks in order; at most two blocks a thread are in
// flight. With one thread no worker starts and every block is compressed as
// it is submitted.
class ParallelDeflate {
public:
    ParallelDeflate(size_t blockBytes, CompressedBlocks& out);
    ~ParallelDeflate(); // stops the workers; what was not written is lost
    ParallelDeflate(const ParallelDeflate&) = delete;
    ParallelDeflate& operator=(const ParallelDeflate&) = delete;

    // Each answers false with `error` set; the first failure ends the stream.
    bool Start(unsigned threads, std::string& error);
    // Where the next block may be filled in place: BlockBytes() bytes.
    unsigned char* Space(std::string& error);
    size_t BlockBytes() const { return m_blockBytes; }
    // The next block: `size` bytes, at most BlockBytes(), of Space's or of
    // the caller's, who keeps them until the last block is submitted. The
    // last block's submission writes everything.
    bool Submit(const unsigned char* bytes, size_t size, bool last, std::string& error);

private:
    struct Slot {
        std::unique_ptr<unsigned char[]> space;
        // Two bytes before the compressed ones for the header, four after
        // for the trailer.
        std::unique_ptr<unsigned char[]> out;
        const unsigned char* in = nullptr;
        size_t size = 0;
        bool last = false;
        size_t written = 0;
        unsigned long adler = 1;
        const char* failure = nullptr;
        bool done = false; // guarded by m_mutex while workers run
    };

    bool Acquire(std::string& error);
    static void Compress(Slot& slot, BlockDeflater& deflater, size_t capacity);
    bool IsCompressed(size_t block);
    // Waits for the oldest block not written yet, and writes it.
    bool WriteOldest(std::string& error);
    bool Fail(const std::string& cause, std::string& error);
    void Work(BlockDeflater& deflater);

    const size_t m_blockBytes;
    CompressedBlocks& m_out;
    std::vector<std::unique_ptr<BlockDeflater>> m_deflaters;
    std::vector<Slot> m_slots;
    size_t m_capacity = 0; // compressed bytes a block may take
    size_t m_next = 0;     // blocks submitted
    size_t m_written = 0;  // blocks written
    unsigned long m_adler = 1;
    std::string m_failure;

    std::mutex m_mutex;
    std::condition_variable m_queued;   // a block for the workers, or the stop
    std::condition_variable m_finished; // a block compressed
    size_t m_taken = 0;                 // blocks workers took
    size_t m_submitted = 0;             // blocks workers may take
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};
