#pragma once

#include "ZqApi.h"
#include "ZqRTTI.h"
#include "ZqRefObject.h"

// Data the host shares with the plug-ins, found by its type record.
class ZQPLUGINTOOLKIT_API ZqSharedData : public ZqRefObject {
public:
    static const ZqRTTI m_RTTI;
    virtual const ZqRTTI* GetRTTI() const { return &m_RTTI; }

    ZqSharedData();
    ~ZqSharedData() override;
};
