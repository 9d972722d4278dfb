#pragma once

#include "ZqAVObject.h"
#include "ZqPointer.h"

#include <vector>

// A scene object with ordered children; it holds one reference on each.
class ZQMAIN_API ZqNode : public ZqAVObject {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    explicit ZqNode(const char* name = "");
    ~ZqNode() override;

    unsigned GetChildCount() const { return static_cast<unsigned>(m_children.size()); }
    // The child at `index`, or null past the end.
    ZqAVObject* GetAt(unsigned index) const;

    // Appends `child`, taking it from the node that held it before.
    void AttachChild(ZqAVObject* child);
    // Removes `child`; the pointer returned keeps it alive for the caller.
    ZqPointer<ZqAVObject> DetachChild(ZqAVObject* child);

private:
    std::vector<ZqPointer<ZqAVObject>> m_children;
};
