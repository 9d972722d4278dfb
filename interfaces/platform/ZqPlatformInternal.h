#pragma once

// Shared between the platform sources; not part of the seam's interface.
#include "ZqPlatform.h"

#include <map>
#include <string>

namespace ZqPlatform {

Presenter* CurrentPresenter();
Launcher* CurrentLauncher();
void CountThreadNotificationSwitch();

// What each platform does when no presenter or launcher is installed.
int SystemMessageBox(void* owner, const char* text, const char* caption, unsigned style);
int SystemInfoDialog(const char* title, const char* text);
int StartProgram(const char* commandLine, int showCommand);

// The .reg file given to SetRegistryFile, or empty.
const std::string& RegistryFileOverride();

// Lower-case value name -> string value of one key of a .reg file; false when
// the file cannot be read or has no such key.
typedef std::map<std::string, std::string> RegistryValues;
bool ReadRegistryFileKey(const std::string& file, const std::string& keyPath,
                         RegistryValues& values);
// The value `valueName` of a key read from a .reg file; false and `value`
// untouched when there is none.
bool FindRegistryValue(const RegistryValues& values, const char* valueName, std::string& value);
std::string LowerCase(std::string text);

} // namespace ZqPlatform
