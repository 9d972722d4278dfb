#pragma once

// Shared between the platform sources; not part of the seam's interface.
#include "ZqPlatformTesting.h"

#include <map>
#include <string>

namespace ZqPlatform {

Presenter* CurrentPresenter();
Launcher* CurrentLauncher();
// Tells the installed registry watcher, if any.
void WatchKeyOpened(const char* keyPath, const std::string& source, bool readable, bool found);
void WatchStringQueried(const char* valueName, bool found);
void CountThreadNotificationSwitch();
// Tells the unload listener, if any, after a module was unloaded.
void NotifyUnloaded();

// What each platform does when no presenter or launcher is installed.
int SystemMessageBox(void* owner, const char* text, const char* caption, unsigned style);
int SystemInfoDialog(const char* title, const char* text);
int StartProgram(const char* commandLine, int showCommand);

// The .reg file given to SetRegistryFile, or empty.
const std::string& RegistryFileOverride();

// Lower-case value name -> string value of one key of a .reg file; false when
// the file cannot be read (`readable` false) or has no such key.
typedef std::map<std::string, std::string> RegistryValues;
bool ReadRegistryFileKey(const std::string& file, const std::string& keyPath,
                         RegistryValues& values, bool& readable);
// The same, from the bytes of a .reg file.
bool ReadRegistryKey(const std::string& bytes, const std::string& keyPath, RegistryValues& values);
// The value `valueName` of a key read from a .reg file; false and `value`
// untouched when there is none.
bool FindRegistryValue(const RegistryValues& values, const char* valueName, std::string& value);
std::string LowerCase(std::string text);
// A .reg file's bytes as UTF-8 text (UTF-16LE with a byte-order mark is
// converted; UTF-8 loses its byte-order mark).
std::string RegistryTextToUtf8(const std::string& bytes);
// The bytes of a hex(2): value, "25,00,31,00,00,00", as UTF-16LE text up to
// its terminating NUL. False when the list is malformed.
bool ReadExpandableString(const std::string& list, std::string& out);

#if !defined(_WIN32)
// The file a launch of the program `name` starts; empty when there is none.
std::string FindProgram(const std::string& name);
#endif

} // namespace ZqPlatform
