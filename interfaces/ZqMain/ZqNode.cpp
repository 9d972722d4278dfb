#include "ZqNode.h"

#include <algorithm>

const ZqRTTI ZqNode::m_RTTI("ZqNode", &ZqAVObject::m_RTTI);

ZqNode::ZqNode(const char* name) : ZqAVObject(name) {}

ZqNode::~ZqNode() {
    for (ZqAVObject* child : m_children) {
        child->SetParent(nullptr);
    }
}

ZqAVObject* ZqNode::GetAt(unsigned index) const {
    return index < m_children.size() ? static_cast<ZqAVObject*>(m_children[index]) : nullptr;
}

void ZqNode::AttachChild(ZqAVObject* child) {
    if (!child) {
        return;
    }
    ZqPointer<ZqAVObject> keep(child);
    if (ZqNode* previous = child->GetParent()) {
        previous->DetachChild(child);
    }
    m_children.push_back(keep);
    child->SetParent(this);
}

ZqPointer<ZqAVObject> ZqNode::DetachChild(ZqAVObject* child) {
    auto found = std::find(m_children.begin(), m_children.end(), child);
    if (found == m_children.end()) {
        return nullptr;
    }
    ZqPointer<ZqAVObject> keep(*found);
    m_children.erase(found);
    child->SetParent(nullptr);
    return keep;
}
