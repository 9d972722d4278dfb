#pragma once

#include "ZqPointer.h"
#include "ZqScriptInfo.h"

#include <string>

// Reads a script file:
//   {"steps": [{"name": ..., "version": ..., "class": ..., "type": ...,
//               "parameters": [["key", "value"], ...], "renderer": N}]}
// A step with "renderer" becomes a viewer step. Throws HostError.
ZqPointer<ZqScriptInfo> ReadScriptFile(const std::string& path);
