// Fails each allocation of a PNG conversion in turn, with one thread, where
// their order is fixed: every failure must fail the file as "out of memory",
// with no exception let out and no wrong success. Its own program, since it
// replaces the global operator new.
#include "HdrTestImages.h"
#include "ImageWriters.h"
#include "MemoryWatch.h"
#include "ScratchFolder.h"
#include "ZqhdrTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

namespace {

// Allocations counted while armed; the one numbered `g_failAt` fails.
bool g_armed = false;
long g_count = 0;
long g_failAt = -1;

void* Allocate(size_t size) {
    if (g_armed && g_count++ == g_failAt) {
        return nullptr;
    }
    return std::malloc(size > 0 ? size : 1);
}

void* AllocateOrThrow(size_t size) {
    void* memory = Allocate(size);
    if (!memory) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

void* operator new(size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, size_t) noexcept {
    std::free(memory);
}

namespace {

struct Outcome {
    bool written;
    std::string error;
    long allocations;
    long making; // of them, in making the writer
};

// The image's rows, decoded whole beforehand, handed to a writer in bands
// of three rows in the file's order, the writer made and destroyed armed.
Outcome Write(const std::string& rows, unsigned width, unsigned height, bool topToBottom,
              const std::string& path, long failAt) {
    const auto* pixels = reinterpret_cast<const unsigned char*>(rows.data());
    Outcome outcome{false, "", 0, 0};
    const ToolPlatform::FileHandle file = NewFileForWriter(path);
    g_count = 0;
    g_failAt = failAt;
    g_armed = true;
    try {
        std::unique_ptr<BandSink> writer = MakePngWriter(file, 0.0, 1, 100);
        outcome.making = g_count;
        bool going = writer->Begin({width, height, topToBottom}, outcome.error);
        for (unsigned band = 0; going && band < height; band += 3) {
            const unsigned count = std::min(3u, height - band);
            const unsigned first = topToBottom ? band : height - band - count;
            going = writer->Take({first, count, pixels + size_t(first) * width * 8}, outcome.error);
        }
        outcome.written = going && writer->Finish(outcome.error);
    } catch (const std::bad_alloc&) {
        // Only the writer's making may throw: no file is under way yet.
        outcome.error = "thrown";
    }
    g_armed = false;
    outcome.allocations = g_count;
    return outcome;
}

} // namespace

TEST(PngAllocationTest, EveryFailedAllocationFailsTheFileAsOutOfMemory) {
    ScratchFolder folder;
    for (bool topToBottom : {true, false}) {
        const std::string rows = Decoded(Concat(Header("-Y 7 +X 40"), FlatPixels(7, 40)));
        const Outcome clean = Write(rows, 40, 7, topToBottom, folder.Path("clean.png"), -1);
        ASSERT_TRUE(clean.written) << clean.error;
        const std::string expected = ReadText(folder.Path("clean.png"));
        ASSERT_GT(clean.allocations, 5) << "the writer's buffers and zlib's";
        const unsigned long notesBefore = OutOfMemoryNotes();
        for (long failAt = 0; failAt < clean.allocations; ++failAt) {
            const Outcome outcome = Write(rows, 40, 7, topToBottom, folder.Path("out.png"), failAt);
            const std::string what = std::string(topToBottom ? "top to bottom" : "bottom to top") +
                                     ", allocation " + std::to_string(failAt) + ": " +
                                     outcome.error;
            EXPECT_FALSE(outcome.written) << what;
            EXPECT_EQ(outcome.error, failAt < clean.making ? "thrown" : "out of memory") << what;
        }
        EXPECT_GT(OutOfMemoryNotes(), notesBefore) << "zlib's allocations are noted";
        // A failure leaves nothing behind that spoils the next file.
        ASSERT_TRUE(Write(rows, 40, 7, topToBottom, folder.Path("again.png"), -1).written);
        EXPECT_EQ(ReadText(folder.Path("again.png")), expected);
    }
}
