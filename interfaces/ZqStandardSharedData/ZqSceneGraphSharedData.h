#pragma once

#include "ZqNode.h"
#include "ZqPointer.h"
#include "ZqSharedData.h"

#include <vector>

// The scene the host is working on: its root nodes, in order.
class ZQSTANDARDSHAREDDATA_API ZqSceneGraphSharedData : public ZqSharedData {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    ZqSceneGraphSharedData();
    ~ZqSceneGraphSharedData() override;

    unsigned GetRootCount() const { return static_cast<unsigned>(m_roots.size()); }
    // The root at `index`, or null past the end.
    ZqNode* GetRootAt(unsigned index) const;
    void AddRoot(ZqNode* root);

private:
    std::vector<ZqPointer<ZqNode>> m_roots;
};
