#include "ZqPluginArray.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {
class Dummy : public ZqPlugin {
public:
    Dummy() : ZqPlugin("Dummy", "1.0", "", "") {}
    bool CanExecute(ZqPluginInfo*) override { return false; }
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo*) override { return nullptr; }
    ZqPluginInfo* MakeDefaultInfo() override { return nullptr; }
};
} // namespace

TEST(ZqPluginArray, LayoutIsStorageThenCapacityThenCount) {
    // The same order on every build; on 32-bit builds a compile-time check
    // beside the class pins the size to 12 bytes.
    struct Probe {
        void* base;
        unsigned capacity;
        unsigned count;
    };
    static_assert(sizeof(ZqPluginArray) == sizeof(Probe), "three fields, no more");
    ZqPluginArray array;
    array.Add(new Dummy);
    const Probe* probe = reinterpret_cast<const Probe*>(&array);
    EXPECT_EQ(probe->base, static_cast<const void*>(array.GetBase()));
    EXPECT_EQ(probe->capacity, 1u);
    EXPECT_EQ(probe->count, 1u);
}

TEST(ZqPluginArray, GrowsFromEmptyByDoubling) {
    ZqPluginArray array;
    EXPECT_EQ(array.GetBase(), nullptr);
    EXPECT_EQ(array.GetAllocatedSize(), 0u);
    const unsigned expectedCapacity[] = {1, 2, 4, 4, 8, 8, 8, 8, 16};
    for (unsigned capacity : expectedCapacity) {
        array.Add(new Dummy);
        EXPECT_EQ(array.GetAllocatedSize(), capacity) << "after " << array.GetSize() << " adds";
    }
    EXPECT_EQ(array.GetSize(), 9u);
}

TEST(ZqPluginArray, DoesNotReallocateBelowCapacity) {
    ZqPluginArray array;
    array.SetCapacity(8);
    const ZqPointer<ZqPlugin>* storage = array.GetBase();
    for (int i = 0; i < 8; ++i) {
        array.Add(new Dummy);
        EXPECT_EQ(array.GetBase(), storage);
    }
    array.Add(new Dummy);
    EXPECT_NE(array.GetBase(), storage);
    EXPECT_EQ(array.GetAllocatedSize(), 16u);
}

TEST(ZqPluginArray, HoldsExactlyOneReferencePerElement) {
    ZqPluginArray array;
    ZqPlugin* plugins[5];
    for (ZqPlugin*& plugin : plugins) {
        plugin = new Dummy;
        array.Add(plugin); // growth copies elements: counts must stay at one
    }
    for (unsigned i = 0; i < 5; ++i) {
        EXPECT_EQ(array.GetAt(i), plugins[i]);
        EXPECT_EQ(plugins[i]->GetRefCount(), 1u);
    }
    EXPECT_EQ(array.GetAt(5), nullptr);
    unsigned before = ZqRefObject::GetTotalObjectCount();
    array.RemoveAll();
    EXPECT_EQ(ZqRefObject::GetTotalObjectCount(), before - 5);
    EXPECT_EQ(array.GetSize(), 0u);
    EXPECT_EQ(array.GetBase(), nullptr);
}

TEST(ZqPluginArray, OneReferencePerElementEvenForTheSameObject) {
    ZqPluginArray array;
    ZqPointer<ZqPlugin> plugin = new Dummy;
    array.Add(plugin);
    array.Add(plugin);
    array.Add(plugin); // grows 2 -> 4 while holding the same object twice
    EXPECT_EQ(plugin->GetRefCount(), 4u);
    array.SetCapacity(8);
    EXPECT_EQ(plugin->GetRefCount(), 4u);
    array.RemoveAll();
    EXPECT_EQ(plugin->GetRefCount(), 1u);
}
