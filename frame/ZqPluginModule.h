#pragma once

// The whole contract between a plug-in module and the host. A module's own
// source defines ZqModuleAddPlugins with its list of plug-ins:
//
//     void ZqModuleAddPlugins(ZqPluginArray& plugins) {
//         ZqAppendNewPlugin(plugins, new MyPlugin);
//     }
//
// and the frame provides the exports and the load-time behaviour. That same
// source holds the module's load-time statics (RTTI records, registrations).

#include "ZqApi.h"
#include "ZqPluginArray.h"

#define ZQ_MODULE_EXPORT extern "C" ZQ_SYMBOL_EXPORT

// Build-toolchain identifier the host may compare with its own. The export is
// optional: a module built with NO_COMPILER_VERSION (RetiredStubs) lacks it.
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
