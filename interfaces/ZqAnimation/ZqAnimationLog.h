#pragma once

#include "ZqApi.h"

// What the animation library has been asked to set up, in order: the class
// name of each key loader registered and "ZqAnimationSDM" for each static-data
// object built.
ZQANIMATION_API unsigned ZqAnimationLogCount();
ZQANIMATION_API const char* ZqAnimationLogAt(unsigned index);
ZQANIMATION_API void ZqAnimationLogClear();

// Appends one entry and answers its position.
ZQANIMATION_API int ZqAnimationLogAdd(const char* entry);
