// Message boxes and info dialogs on POSIX systems: printed, never modal.
#include "ZqPlatformInternal.h"

#include <cstdio>

namespace ZqPlatform {

int SystemMessageBox(void*, const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
    return ID_OK;
}

int SystemInfoDialog(const char* title, const char* text) {
    std::printf("%s\n%s\n", title, text);
    std::fflush(stdout);
    return ID_OK;
}

} // namespace ZqPlatform
