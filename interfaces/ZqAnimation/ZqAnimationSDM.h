#pragma once

#include "ZqApi.h"

// The animation library's static data: one object per module that uses the
// library, alive for the module's lifetime.
class ZQANIMATION_API ZqAnimationSDM {
public:
    ZqAnimationSDM();
    ~ZqAnimationSDM();
    ZqAnimationSDM(const ZqAnimationSDM&) = delete;
    ZqAnimationSDM& operator=(const ZqAnimationSDM&) = delete;
};
