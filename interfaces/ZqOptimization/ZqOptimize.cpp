#include "ZqOptimize.h"

#include "ZqNode.h"

#include <vector>

namespace ZqOptimize {

namespace {

RemovalObserver g_observer = nullptr;
void* g_observerContext = nullptr;

// Iterative, so that a deep scene cannot exhaust the stack.
void RemoveCulledBelow(ZqNode* top) {
    std::vector<ZqNode*> pending{top};
    while (!pending.empty()) {
        ZqNode* node = pending.back();
        pending.pop_back();
        // Backwards, so that detaching does not skip the next child.
        for (unsigned i = node->GetChildCount(); i > 0; --i) {
            ZqAVObject* child = node->GetAt(i - 1);
            if (child->GetAppCulled()) {
                node->DetachChild(child);
            } else if (ZqObject::IsKindOf(&ZqNode::m_RTTI, child)) {
                pending.push_back(static_cast<ZqNode*>(child));
            }
        }
    }
}

} // namespace

bool RemoveAppCulledObjects(ZqAVObject* root) {
    if (!root) {
        return false;
    }
    if (g_observer) {
        g_observer(root, g_observerContext);
    }
    if (root->GetAppCulled()) {
        if (ZqNode* parent = root->GetParent()) {
            parent->DetachChild(root);
            return false;
        }
        return true;
    }
    if (ZqObject::IsKindOf(&ZqNode::m_RTTI, root)) {
        RemoveCulledBelow(static_cast<ZqNode*>(root));
    }
    return false;
}

void SetRemovalObserver(RemovalObserver observer, void* context) {
    g_observer = observer;
    g_observerContext = context;
}

} // namespace ZqOptimize
