#include "ZqNode.h"
#include "ZqOptimize.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ZqNode* AddNode(ZqNode* parent, const char* name, bool culled = false) {
    ZqNode* node = new ZqNode(name);
    node->SetAppCulled(culled);
    parent->AttachChild(node);
    return node;
}

void AddLeaf(ZqNode* parent, const char* name, bool culled = false) {
    ZqAVObject* leaf = new ZqAVObject(name);
    leaf->SetAppCulled(culled);
    parent->AttachChild(leaf);
}

std::string Describe(const ZqAVObject* object) {
    std::string text = object->GetName();
    if (ZqObject::IsKindOf(&ZqNode::m_RTTI, object)) {
        const auto* node = static_cast<const ZqNode*>(object);
        text += "(";
        for (unsigned i = 0; i < node->GetChildCount(); ++i) {
            text += (i ? " " : "") + Describe(node->GetAt(i));
        }
        text += ")";
    }
    return text;
}

} // namespace

TEST(ZqNode, AttachingMovesAChildBetweenNodes) {
    ZqPointer<ZqNode> a = new ZqNode("a");
    ZqPointer<ZqNode> b = new ZqNode("b");
    ZqPointer<ZqAVObject> child = new ZqAVObject("c");
    a->AttachChild(child);
    b->AttachChild(child);
    EXPECT_EQ(a->GetChildCount(), 0u);
    EXPECT_EQ(child->GetParent(), b);
    EXPECT_EQ(child->GetRefCount(), 2u);
    EXPECT_EQ(b->DetachChild(child), child);
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_EQ(b->DetachChild(child), nullptr);
}

TEST(ZqOptimize, RemovesCulledObjectsAtEveryDepth) {
    ZqPointer<ZqNode> root = new ZqNode("root");
    AddLeaf(root, "keep");
    AddLeaf(root, "hidden1", true);
    AddLeaf(root, "hidden2", true); // two in a row: none may be skipped
    ZqNode* group = AddNode(root, "group");
    AddLeaf(group, "hidden3", true);
    ZqNode* inner = AddNode(group, "inner");
    AddLeaf(inner, "deep");
    ZqNode* hiddenGroup = AddNode(inner, "hiddenGroup", true);
    AddLeaf(hiddenGroup, "visibleUnderHidden");

    EXPECT_FALSE(ZqOptimize::RemoveAppCulledObjects(root));
    EXPECT_EQ(Describe(root), "root(keep group(inner(deep)))");
}

TEST(ZqOptimize, CulledObjectItself) {
    ZqPointer<ZqNode> parent = new ZqNode("parent");
    ZqNode* child = AddNode(parent, "child", true);
    EXPECT_FALSE(ZqOptimize::RemoveAppCulledObjects(child)); // detached from its parent
    EXPECT_EQ(parent->GetChildCount(), 0u);

    ZqPointer<ZqNode> lonely = new ZqNode("lonely");
    lonely->SetAppCulled(true);
    AddLeaf(lonely, "kept");
    EXPECT_TRUE(ZqOptimize::RemoveAppCulledObjects(lonely)); // nobody to detach it from
    EXPECT_EQ(lonely->GetChildCount(), 1u);
    EXPECT_FALSE(ZqOptimize::RemoveAppCulledObjects(nullptr));
}

TEST(ZqOptimize, DeepScenesDoNotExhaustTheStack) {
    ZqPointer<ZqNode> root = new ZqNode("root");
    ZqNode* node = root;
    for (int i = 0; i < 100000; ++i) {
        node = AddNode(node, "n");
    }
    AddLeaf(node, "hidden", true);
    ZqOptimize::RemoveAppCulledObjects(root);
    EXPECT_EQ(node->GetChildCount(), 0u);
    // Take the chain apart from the bottom so that destruction stays shallow too.
    while (node != root) {
        ZqNode* parent = node->GetParent();
        parent->DetachChild(node);
        node = parent;
    }
}
