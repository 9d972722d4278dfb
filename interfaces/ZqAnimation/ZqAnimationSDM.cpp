#include "ZqAnimationSDM.h"

#include "ZqAnimationLog.h"

ZqAnimationSDM::ZqAnimationSDM() {
    ZqAnimationLogAdd("ZqAnimationSDM");
}

ZqAnimationSDM::~ZqAnimationSDM() = default;
