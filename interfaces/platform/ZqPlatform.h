// The one seam between the stand-ins and the operating system. Everything that
// differs between Windows and POSIX lives behind these declarations, and
// nothing above this layer includes a system header. The sources are split by
// job: each job has one file per platform with matching names (ZqLaunchPosix.cpp
// beside ZqLaunchWin32.cpp; likewise Dialogs, Modules, Registry and Memory).
// ZqLaunchPathPosix.cpp adds the PATH lookup that WinExec does itself. What
// both platforms share (the presenter and launcher dispatch, command-line
// splitting, .reg files, float16) is written once in files without a suffix.
// What only tests look at is declared apart, in ZqPlatformTesting.h.
#pragma once

#include "ZqApi.h"

#include <cstddef>
#include <string>

namespace ZqPlatform {

// Opaque handles: a loaded module, and an open registry key. Each platform's
// sources say what one is; callers only hand them back.
struct Module;
struct RegistryKey;

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
ZQPLATFORM_API void DisableThreadNotifications(Module* module);

// Loading modules at run time, for the host. A null handle means failure and
// `error` says why.
ZQPLATFORM_API const char* ModuleSuffix();
ZQPLATFORM_API Module* LoadModule(const char* path, std::string& error);
ZQPLATFORM_API void* FindSymbol(Module* module, const char* name);
ZQPLATFORM_API void UnloadModule(Module* module);

// Called after each UnloadModule, when the module's code and data may be gone,
// so that a library holding addresses into modules (ZqMain's list of type
// records) can drop them. One listener; null for none.
typedef void (*UnloadListener)();
ZQPLATFORM_API void SetUnloadListener(UnloadListener listener);

// True when `address` lies in a loaded module or in the program itself; the
// address is never read.
ZQPLATFORM_API bool IsLoadedAddress(const void* address);

// The module that holds `address` (code or data), or null where modules
// carry no resources; and a resource of a module: its bytes (owned by the
// module) or null. Windows only; elsewhere always null.
ZQPLATFORM_API Module* ModuleOf(const void* address);
ZQPLATFORM_API const unsigned char* FindModuleResource(Module* module, unsigned type,
                                                       unsigned identifier, unsigned language,
                                                       size_t& size);

// Absolute path of the running program, or empty when it cannot be told.
ZQPLATFORM_API std::string ExecutablePath();

#if defined(_WIN32)
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// Starting programs, with WinExec's contract: the program starts directly (no
// shell), nothing waits for it, and the answer is above 31 when it started or
// one of the error values below. On POSIX the command line is split as
// Windows splits it, the program is looked up in PATH when its name has no
// separator, and the finished program is reaped, so no zombie is left.
enum : int {
    LAUNCH_OUT_OF_RESOURCES = 0,
    LAUNCH_FILE_NOT_FOUND = 2,
    LAUNCH_PATH_NOT_FOUND = 3,
    LAUNCH_ACCESS_DENIED = 5,
    LAUNCH_BAD_FORMAT = 11,
    LAUNCH_STARTED = 33,
};
enum : int { SHOW_NORMAL = 1 };

// Takes over launches, for tests; null restores the real launcher.
class ZQPLATFORM_API Launcher {
public:
    virtual ~Launcher();
    virtual int Launch(const char* commandLine, int showCommand) = 0;
};
ZQPLATFORM_API Launcher* SetLauncher(Launcher* launcher);
ZQPLATFORM_API int LaunchProgram(const char* commandLine, int showCommand);

// The registry: a key opened by its full path with the root spelled out
// ("HKEY_CLASSES_ROOT\\..."), null when it does not exist. On POSIX the
// registry is a .reg text file: the one given to SetRegistryFile, else
// $ZQ_REGISTRY, else $XDG_CONFIG_HOME/zq/registry.reg (default
// ~/.config/zq/registry.reg). It is read afresh at every open.
ZQPLATFORM_API void SetRegistryFile(const char* path);
ZQPLATFORM_API RegistryKey* OpenRegistryKey(const char* keyPath);
// The string value `valueName` ("" is the key's default value); false and
// `value` untouched when there is none.
ZQPLATFORM_API bool QueryRegistryString(RegistryKey* key, const char* valueName,
                                        std::string& value);
ZQPLATFORM_API void CloseRegistryKey(RegistryKey* key);

// Watches registry look-ups, so that the host can tell why a plug-in found no
// value. `source` is the .reg file the key was looked for in, or "the Windows
// registry"; `readable` is false when that file could not be read. Installs
// the watcher (not owned) and returns the one it replaces; null stops.
class ZQPLATFORM_API RegistryWatcher {
public:
    virtual ~RegistryWatcher();
    virtual void KeyOpened(const char* keyPath, const char* source, bool readable, bool found) = 0;
    virtual void StringQueried(const char* valueName, bool found) = 0;
};
ZQPLATFORM_API RegistryWatcher* SetRegistryWatcher(RegistryWatcher* watcher);

// Large, zero-filled memory blocks (pixel buffers): big ones are aligned so
// that the system can back them with huge pages. Null when the memory cannot
// be had; never throws.
ZQPLATFORM_API void* AllocateLarge(size_t bytes);
ZQPLATFORM_API void FreeLarge(void* block, size_t bytes);

// A lock with the storage of a Windows critical section; on POSIX a mutex
// lives in the same storage.
struct LockStorage {
    alignas(16) unsigned char bytes[64];
};
ZQPLATFORM_API void InitializeLock(LockStorage* lock);
ZQPLATFORM_API void DeleteLock(LockStorage* lock);
ZQPLATFORM_API void EnterLock(LockStorage* lock);
ZQPLATFORM_API void LeaveLock(LockStorage* lock);

// 32-bit to 16-bit float conversion: IEEE binary16, round to nearest even,
// overflow to infinity, subnormals exact, NaNs kept quiet with the top of
// their payload. Uses the processor's conversion instructions when it has
// them; the scalar path gives the same bits.
ZQPLATFORM_API void Float32To16Array(unsigned short* out, const float* in, unsigned count);

} // namespace ZqPlatform
