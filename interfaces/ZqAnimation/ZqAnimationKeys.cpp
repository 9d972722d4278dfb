#include "ZqAnimationKeys.h"

#include "ZqAnimationLog.h"

#define ZQ_ANIMATION_KEY_LOADER(Name)                                                              \
    int Name::RegisterLoader() {                                                                   \
        return ZqAnimationLogAdd(#Name);                                                           \
    }

ZQ_ANIMATION_KEY_LOADER(ZqFloatKey)
ZQ_ANIMATION_KEY_LOADER(ZqBezFloatKey)
ZQ_ANIMATION_KEY_LOADER(ZqPosKey)
ZQ_ANIMATION_KEY_LOADER(ZqBezPosKey)
ZQ_ANIMATION_KEY_LOADER(ZqRotKey)
ZQ_ANIMATION_KEY_LOADER(ZqBezRotKey)
ZQ_ANIMATION_KEY_LOADER(ZqBoolKey)
ZQ_ANIMATION_KEY_LOADER(ZqColorKey)
ZQ_ANIMATION_KEY_LOADER(ZqEulerRotKey)
ZQ_ANIMATION_KEY_LOADER(ZqLinColorKey)
ZQ_ANIMATION_KEY_LOADER(ZqLinFloatKey)
ZQ_ANIMATION_KEY_LOADER(ZqLinPosKey)
ZQ_ANIMATION_KEY_LOADER(ZqLinRotKey)
ZQ_ANIMATION_KEY_LOADER(ZqTCBPosKey)
ZQ_ANIMATION_KEY_LOADER(ZqTCBRotKey)
ZQ_ANIMATION_KEY_LOADER(ZqTCBFloatKey)
ZQ_ANIMATION_KEY_LOADER(ZqStepBoolKey)
ZQ_ANIMATION_KEY_LOADER(ZqStepColorKey)
ZQ_ANIMATION_KEY_LOADER(ZqStepFloatKey)
ZQ_ANIMATION_KEY_LOADER(ZqStepPosKey)
ZQ_ANIMATION_KEY_LOADER(ZqStepRotKey)
