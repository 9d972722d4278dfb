#pragma once

// The whole contract between a plug-in module and the host. A module's own
// source declares the module in one line, saying whether it exports
// GetCompilerVersion, and lists its plug-ins:
//
//     ZQ_DECLARE_MODULE(WITH_COMPILER_VERSION);
//
//     void ZqModuleAddPlugins(ZqPluginArray& plugins) {
//         ZqAppendNewPlugin(plugins, new MyPlugin);
//     }
//
// That same source holds the module's load-time statics (RTTI records,
// registrations); the frame's ZqModuleEntry, linked into every module, does
// what a module does when it is loaded.

#include "ZqApi.h"
#include "ZqPluginArray.h"

#define ZQ_MODULE_EXPORT extern "C" ZQ_SYMBOL_EXPORT

// Build-toolchain identifier the host may compare with its own. The export is
// optional: a module declared WITHOUT_COMPILER_VERSION (RetiredStubs) lacks it.
enum : int { ZQ_COMPILER_VERSION = 1310 };

ZQ_MODULE_EXPORT int GetCompilerVersion();
ZQ_MODULE_EXPORT void GetPlugins(ZqPluginArray& plugins);

// Supplied by each module: appends its plug-ins, in its fixed order.
void ZqModuleAddPlugins(ZqPluginArray& plugins);

// Appends a newly made plug-in; afterwards the array holds its only reference.
inline void ZqAppendNewPlugin(ZqPluginArray& plugins, ZqPlugin* plugin) {
    ZqPointer<ZqPlugin> local(plugin);
    plugins.Add(local);
}

// The module's exports: GetPlugins, which hands over what ZqModuleAddPlugins
// appends, and GetCompilerVersion when `compilerVersion` is
// WITH_COMPILER_VERSION (WITHOUT_COMPILER_VERSION leaves it out). It ends by
// declaring ZqModuleAddPlugins again, so that the line takes a semicolon.
#define ZQ_DECLARE_MODULE(compilerVersion)                                                         \
    ZQ_MODULE_EXPORT void GetPlugins(ZqPluginArray& plugins) {                                     \
        ZqModuleAddPlugins(plugins);                                                               \
    }                                                                                              \
    ZQ_MODULE_EXPORTS_##compilerVersion void ZqModuleAddPlugins(ZqPluginArray& plugins)

#define ZQ_MODULE_EXPORTS_WITH_COMPILER_VERSION                                                    \
    ZQ_MODULE_EXPORT int GetCompilerVersion() {                                                    \
        return ZQ_COMPILER_VERSION;                                                                \
    }
#define ZQ_MODULE_EXPORTS_WITHOUT_COMPILER_VERSION
