// Starting programs on Windows: WinExec itself.
#include "ZqPlatformInternal.h"

#include <windows.h>

namespace ZqPlatform {

int StartProgram(const char* commandLine, int showCommand) {
    return static_cast<int>(WinExec(commandLine, static_cast<UINT>(showCommand)));
}

} // namespace ZqPlatform
