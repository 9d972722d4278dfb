#include "ZqSceneGraphSharedData.h"

const ZqRTTI ZqSceneGraphSharedData::m_RTTI("ZqSceneGraphSharedData", &ZqSharedData::m_RTTI);

ZqSceneGraphSharedData::ZqSceneGraphSharedData() = default;
ZqSceneGraphSharedData::~ZqSceneGraphSharedData() = default;

ZqNode* ZqSceneGraphSharedData::GetRootAt(unsigned index) const {
    return index < m_roots.size() ? static_cast<ZqNode*>(m_roots[index]) : nullptr;
}

void ZqSceneGraphSharedData::AddRoot(ZqNode* root) {
    if (root) {
        m_roots.emplace_back(root);
    }
}
