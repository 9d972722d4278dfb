#pragma once

#include "ZqNode.h"

// A scene root named `name` with two children: "hidden", culled by the
// application, then "shown". Removing hidden objects leaves "shown" alone.
ZqNode* NewRootWithHiddenChild(const char* name);
