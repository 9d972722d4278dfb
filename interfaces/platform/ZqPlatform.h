// The one seam between the stand-ins and the operating system. Everything that
// differs between Windows and POSIX lives behind these declarations: one source
// file per platform implements them, and nothing above this layer includes a
// system header.
#pragma once

#include "ZqApi.h"

#include <string>

namespace ZqPlatform {

// Modal windows. A presenter decides how a message box or an info dialog
// reaches the user: the host prints them, tests record them. Without one, the
// POSIX build prints message boxes to stderr and info dialogs to stdout.
class ZQPLATFORM_API Presenter {
public:
    virtual ~Presenter();
    virtual void ShowMessageBox(const char* text, const char* caption, unsigned style) = 0;
    virtual void ShowInfoDialog(const char* title, const char* text) = 0;
};

// Installs the presenter (not owned) and returns the one it replaces; null
// restores the default.
ZQPLATFORM_API Presenter* SetPresenter(Presenter* presenter);

enum : unsigned { MB_OK_BUTTON = 0x0, MB_STOP_ICON = 0x10 };
enum : int { ID_OK = 1 };

// MessageBoxA's contract: modal, answers the button pressed.
ZQPLATFORM_API int MessageBox(void* owner, const char* text, const char* caption, unsigned style);
ZQPLATFORM_API int ShowInfoDialog(const char* title, const char* text);

// Module attach: turns off per-thread attach and detach notifications for the
// module (Windows); POSIX has no such notifications, so there it only counts
// the calls, which lets tests see that a module made it at load.
ZQPLATFORM_API void DisableThreadNotifications(void* module);
ZQPLATFORM_API unsigned ThreadNotificationSwitchCount();

// Loading modules at run time, for the host. A null handle means failure and
// `error` says why.
ZQPLATFORM_API const char* ModuleSuffix();
ZQPLATFORM_API void* LoadModule(const char* path, std::string& error);
ZQPLATFORM_API void* FindSymbol(void* module, const char* name);
ZQPLATFORM_API void UnloadModule(void* module);

// Absolute path of the running program, or empty when it cannot be told.
ZQPLATFORM_API std::string ExecutablePath();

} // namespace ZqPlatform
