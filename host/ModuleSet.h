#pragma once

#include "ZqPlatform.h"
#include "ZqPluginArray.h"

#include <memory>
#include <string>
#include <vector>

// The plug-in modules of one folder, loaded in file-name order, and the one
// plug-in array they all appended to. Destroying the set releases every
// plug-in before the modules are unloaded, since a plug-in's code lives in its
// module.
class ModuleSet {
public:
    struct Module {
        std::string fileName;
        std::string folder; // absolute, ends with a separator
        ZqPlatform::Module* handle;
    };
    struct Plugin {
        ZqPlugin* plugin;
        const Module* module;
    };

    ModuleSet() = default;
    ModuleSet(const ModuleSet&) = delete;
    ModuleSet& operator=(const ModuleSet&) = delete;
    ~ModuleSet();

    // Loads every module in `folder`. Modules that cannot be used are skipped
    // with a warning on stderr; false (with `error`) only when the folder
    // itself cannot be read.
    bool Load(const std::string& folder, std::string& error);

    const std::vector<Plugin>& GetPlugins() const { return m_plugins; }

    // Sets each plug-in's absolute plug-in path to its module's folder.
    void SetPluginPaths() const;

    // Releases the plug-ins, then unloads the modules.
    void Unload();

private:
    void LoadModule(const std::string& path, const std::string& fileName,
                    const std::string& folder);

    std::vector<std::unique_ptr<Module>> m_modules;
    ZqPluginArray m_array;
    std::vector<Plugin> m_plugins;
};

// `../lib/zq/plugins` from the folder that holds the running program when
// installed, else `../plugins` as in the build tree.
std::string DefaultPluginFolder();
