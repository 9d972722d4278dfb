// The reader called the way the engine, compiled elsewhere, calls it: through
// slot numbers written out by hand from the image reader's published order.
// A virtual operation moved in a header moves its slot and fails here.
#include "HdrTestImages.h"
#include "VirtualSlots.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

enum ReaderSlot : unsigned {
    kDeletingDestructor = kDestructorEntries - 1,
    kCanReadFile = kDestructorEntries + 0,
    kReadFile = kDestructorEntries + 1,
    kReadHeader = kDestructorEntries + 2,
};

typedef void(ZQ_MEMBER_CALL* Destroy)(void* self);
typedef bool(ZQ_MEMBER_CALL* CanReadFile)(const void* self, const char* extension);
typedef ZqPixelData*(ZQ_MEMBER_CALL* ReadFile)(void* self, ZqFile& file, ZqPixelData* reuse);
typedef bool(ZQ_MEMBER_CALL* ReadHeader)(void* self, ZqFile& file, unsigned& width,
                                         unsigned& height, ZqPixelFormat& format, bool& mipmaps,
                                         unsigned& faces);

// A reader that tells when it is destroyed.
class WatchedReader : public ZqHDRReader {
public:
    explicit WatchedReader(bool& destroyed) : m_destroyed(destroyed) {}
    ~WatchedReader() override { m_destroyed = true; }

private:
    bool& m_destroyed;
};

} // namespace

TEST(ZqHDRReaderSlots, TheEngineReachesEachOperationInItsSlot) {
    bool destroyed = false;
    void* self = new WatchedReader(destroyed);
    EXPECT_TRUE(Slot<CanReadFile>(self, kCanReadFile)(self, ".HDR"));
    EXPECT_FALSE(Slot<CanReadFile>(self, kCanReadFile)(self, ".png"));

    Bytes bytes = Concat(Header("-Y 2 +X 3"), FlatPixels(2, 3));
    ZqMemoryFile file(bytes.data(), bytes.size());
    unsigned width = 0, height = 0, faces = 0;
    ZqPixelFormat format;
    bool mipmaps = true;
    EXPECT_TRUE(
        Slot<ReadHeader>(self, kReadHeader)(self, file, width, height, format, mipmaps, faces));
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    EXPECT_TRUE(format == ZqPixelFormat::RGBA64);
    EXPECT_FALSE(mipmaps);
    EXPECT_EQ(faces, 1u);

    std::unique_ptr<ZqPixelData> data(Slot<ReadFile>(self, kReadFile)(self, file, nullptr));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetWidth(0), 3u);
    EXPECT_EQ(data->GetHeight(0), 2u);

    // Destroyed, and its memory freed, through the deleting destructor's slot.
    Slot<Destroy>(self, kDeletingDestructor)(self);
    EXPECT_TRUE(destroyed);
}
