// What the host and the tests install in the seam, and the dispatch to them,
// the same on every platform.
#include "ZqPlatformInternal.h"

#include <atomic>

namespace ZqPlatform {

namespace {
Presenter* g_presenter = nullptr;
Launcher* g_launcher = nullptr;
RegistryWatcher* g_registryWatcher = nullptr;
UnloadListener g_unloadListener = nullptr;
std::atomic<unsigned> g_threadSwitchCount{0};
std::string g_registryFile;
} // namespace

Presenter::~Presenter() = default;
Launcher::~Launcher() = default;
RegistryWatcher::~RegistryWatcher() = default;

Presenter* SetPresenter(Presenter* presenter) {
    Presenter* previous = g_presenter;
    g_presenter = presenter;
    return previous;
}

Presenter* CurrentPresenter() {
    return g_presenter;
}

Launcher* SetLauncher(Launcher* launcher) {
    Launcher* previous = g_launcher;
    g_launcher = launcher;
    return previous;
}

Launcher* CurrentLauncher() {
    return g_launcher;
}

RegistryWatcher* SetRegistryWatcher(RegistryWatcher* watcher) {
    RegistryWatcher* previous = g_registryWatcher;
    g_registryWatcher = watcher;
    return previous;
}

void SetUnloadListener(UnloadListener listener) {
    g_unloadListener = listener;
}

void NotifyUnloaded() {
    if (g_unloadListener) {
        g_unloadListener();
    }
}

void WatchKeyOpened(const char* keyPath, const std::string& source, bool readable, bool found) {
    if (g_registryWatcher) {
        g_registryWatcher->KeyOpened(keyPath ? keyPath : "", source.c_str(), readable, found);
    }
}

void WatchStringQueried(const char* valueName, bool found) {
    if (g_registryWatcher) {
        g_registryWatcher->StringQueried(valueName ? valueName : "", found);
    }
}

int MessageBox(void* owner, const char* text, const char* caption, unsigned style) {
    text = text ? text : "";
    caption = caption ? caption : "";
    if (Presenter* presenter = CurrentPresenter()) {
        presenter->ShowMessageBox(text, caption, style);
        return ID_OK;
    }
    return SystemMessageBox(owner, text, caption, style);
}

int ShowInfoDialog(const char* title, const char* text) {
    title = title ? title : "";
    text = text ? text : "";
    if (Presenter* presenter = CurrentPresenter()) {
        presenter->ShowInfoDialog(title, text);
        return ID_OK;
    }
    return SystemInfoDialog(title, text);
}

int LaunchProgram(const char* commandLine, int showCommand) {
    commandLine = commandLine ? commandLine : "";
    if (Launcher* launcher = CurrentLauncher()) {
        return launcher->Launch(commandLine, showCommand);
    }
    return StartProgram(commandLine, showCommand);
}

void CountThreadNotificationSwitch() {
    ++g_threadSwitchCount;
}

unsigned ThreadNotificationSwitchCount() {
    return g_threadSwitchCount;
}

void SetRegistryFile(const char* path) {
    g_registryFile = path ? path : "";
}

const std::string& RegistryFileOverride() {
    return g_registryFile;
}

} // namespace ZqPlatform
