#pragma once

#include "ZqApi.h"

// The animation key classes. Each registers the loader that reads its keys
// from a stream; RegisterLoader answers the registration's position.
#define ZQ_ANIMATION_KEY(Name)                                                                     \
    class ZQANIMATION_API Name {                                                                   \
    public:                                                                                        \
        static int RegisterLoader();                                                               \
    };

ZQ_ANIMATION_KEY(ZqFloatKey)
ZQ_ANIMATION_KEY(ZqBezFloatKey)
ZQ_ANIMATION_KEY(ZqPosKey)
ZQ_ANIMATION_KEY(ZqBezPosKey)
ZQ_ANIMATION_KEY(ZqRotKey)
ZQ_ANIMATION_KEY(ZqBezRotKey)
ZQ_ANIMATION_KEY(ZqBoolKey)
ZQ_ANIMATION_KEY(ZqColorKey)
ZQ_ANIMATION_KEY(ZqEulerRotKey)
ZQ_ANIMATION_KEY(ZqLinColorKey)
ZQ_ANIMATION_KEY(ZqLinFloatKey)
ZQ_ANIMATION_KEY(ZqLinPosKey)
ZQ_ANIMATION_KEY(ZqLinRotKey)
ZQ_ANIMATION_KEY(ZqTCBPosKey)
ZQ_ANIMATION_KEY(ZqTCBRotKey)
ZQ_ANIMATION_KEY(ZqTCBFloatKey)
ZQ_ANIMATION_KEY(ZqStepBoolKey)
ZQ_ANIMATION_KEY(ZqStepColorKey)
ZQ_ANIMATION_KEY(ZqStepFloatKey)
ZQ_ANIMATION_KEY(ZqStepPosKey)
ZQ_ANIMATION_KEY(ZqStepRotKey)

#undef ZQ_ANIMATION_KEY
