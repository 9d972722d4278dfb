#include "ZqNode.h"
#include "ZqObject.h"
#include "ZqPointer.h"

#include <gtest/gtest.h>

namespace {
struct Tracked : ZqRefObject {
    explicit Tracked(bool* destroyed) : m_destroyed(destroyed) {}
    ~Tracked() override { *m_destroyed = true; }
    bool* m_destroyed;
};
} // namespace

TEST(ZqPointer, HoldsOneReferenceEach) {
    bool destroyed = false;
    Tracked* object = new Tracked(&destroyed);
    EXPECT_EQ(object->GetRefCount(), 0u);
    {
        ZqPointer<Tracked> first(object);
        EXPECT_EQ(object->GetRefCount(), 1u);
        ZqPointer<Tracked> second = first;
        EXPECT_EQ(object->GetRefCount(), 2u);
        second = object; // same object: no change
        EXPECT_EQ(object->GetRefCount(), 2u);
        second = nullptr;
        EXPECT_EQ(object->GetRefCount(), 1u);
        first = first; // self-assignment must not destroy
        EXPECT_FALSE(destroyed);
    }
    EXPECT_TRUE(destroyed);
}

TEST(ZqPointer, ReassignmentReleasesTheOldObject) {
    bool firstGone = false;
    bool secondGone = false;
    ZqPointer<ZqRefObject> pointer = new Tracked(&firstGone);
    pointer = new Tracked(&secondGone);
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(secondGone);
    pointer = nullptr;
    EXPECT_TRUE(secondGone);
}

TEST(ZqRTTI, KindOfFollowsTheBaseChain) {
    ZqPointer<ZqNode> node = new ZqNode("n");
    ZqPointer<ZqAVObject> leaf = new ZqAVObject("l");
    EXPECT_TRUE(ZqObject::IsKindOf(&ZqNode::m_RTTI, node));
    EXPECT_TRUE(ZqObject::IsKindOf(&ZqAVObject::m_RTTI, node));
    EXPECT_TRUE(ZqObject::IsKindOf(&ZqObject::m_RTTI, node));
    EXPECT_FALSE(ZqObject::IsKindOf(&ZqNode::m_RTTI, leaf));
    EXPECT_FALSE(ZqObject::IsKindOf(&ZqNode::m_RTTI, nullptr));
    EXPECT_STREQ(node->GetRTTI()->GetName(), "ZqNode");
    EXPECT_EQ(node->GetRTTI()->GetBaseRTTI(), &ZqAVObject::m_RTTI);
}
