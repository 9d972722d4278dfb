#pragma once

#include "ZqAVObject.h"

namespace ZqOptimize {

// Removes every application-culled object at or below `root`: a culled object
// is detached from the node that holds it, with everything below it. A culled
// object that no node holds cannot be detached; the result then is true, so
// that whoever holds it may drop it. Otherwise false.
ZQOPTIMIZATION_API bool RemoveAppCulledObjects(ZqAVObject* root);

// Called with each object passed to RemoveAppCulledObjects, before it is
// processed; lets tests see which roots were processed and in what order.
typedef void (*RemovalObserver)(ZqAVObject* root, void* context);
ZQOPTIMIZATION_API void SetRemovalObserver(RemovalObserver observer, void* context);

} // namespace ZqOptimize
