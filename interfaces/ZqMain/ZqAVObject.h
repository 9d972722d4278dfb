#pragma once

#include "ZqObject.h"

#include <string>

class ZqNode;

// A scene object: a name, the application-culled (hidden) flag and the node
// that holds it, if any. Without children of its own it is a leaf.
class ZQMAIN_API ZqAVObject : public ZqObject {
public:
    static const ZqRTTI m_RTTI;
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }

    explicit ZqAVObject(const char* name = "");

    const char* GetName() const { return m_name.c_str(); }
    void SetName(const char* name) { m_name = name ? name : ""; }

    bool GetAppCulled() const { return m_bAppCulled; }
    void SetAppCulled(bool culled) { m_bAppCulled = culled; }

    // The node that holds this object; set and cleared by ZqNode.
    ZqNode* GetParent() const { return m_pkParent; }
    void SetParent(ZqNode* parent) { m_pkParent = parent; }

private:
    std::string m_name;
    bool m_bAppCulled = false;
    ZqNode* m_pkParent = nullptr;
};
