// Message boxes and info dialogs on Windows: the system's modal box.
#include "ZqPlatformInternal.h"

#include <windows.h>

namespace ZqPlatform {

int SystemMessageBox(void* owner, const char* text, const char* caption, unsigned style) {
    return MessageBoxA(static_cast<HWND>(owner), text, caption, style);
}

int SystemInfoDialog(const char* title, const char* text) {
    return MessageBoxA(nullptr, text, title, MB_OK);
}

} // namespace ZqPlatform
