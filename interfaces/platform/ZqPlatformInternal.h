#pragma once

// Shared between the platform sources; not part of the seam's interface.
#include "ZqPlatform.h"

#include <map>
#include <string>

namespace ZqPlatform {

Presenter* CurrentPresenter();
Launcher* CurrentLauncher();
void CountThreadNotificationSwitch();

// The .reg file given to SetRegistryFile, or empty.
const std::string& RegistryFileOverride();

// Lower-case value name -> string value of one key of a .reg file; false when
// the file cannot be read or has no such key.
typedef std::map<std::string, std::string> RegistryValues;
bool ReadRegistryFileKey(const std::string& file, const std::string& keyPath,
                         RegistryValues& values);
std::string LowerCase(std::string text);

} // namespace ZqPlatform
