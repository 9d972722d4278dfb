#pragma once

#include "ModuleSet.h"
#include "ZqPluginInfo.h"

#include <string>
#include <vector>

// Why the plug-ins refused a step that none accepted: one line for each
// plug-in whose name or class name is the step's (in any letter case). The
// reason is found by watching the plug-in as it refuses the step again (its
// registry look-ups) and by offering it the step with one field changed at a
// time (its own class name, its default info's version, a viewer step),
// never by knowing its rules; what it accepts does not change.
std::vector<std::string> ExplainRefusals(const ModuleSet& modules, ZqPluginInfo* step);
