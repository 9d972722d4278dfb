#include "ModuleSet.h"

#include "ModuleFile.h"
#include "ZqPlatform.h"
#include "ZqPluginModule.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {
typedef int (*GetCompilerVersionFunction)();
typedef void (*GetPluginsFunction)(ZqPluginArray&);
} // namespace

ModuleSet::~ModuleSet() {
    Unload();
}

bool ModuleSet::Load(const std::string& folder, std::string& error) {
    std::error_code code;
    fs::path absolute = fs::absolute(folder, code);
    if (code || !fs::is_directory(absolute, code)) {
        error = "plug-in folder " + folder + " does not exist or is not a folder";
        return false;
    }
    std::vector<std::string> names;
    fs::directory_iterator entries(absolute, code);
    if (code) {
        error = "plug-in folder " + folder + " cannot be read: " + code.message();
        return false;
    }
    for (const fs::directory_entry& entry : entries) {
        std::error_code entryCode;
        if (entry.is_regular_file(entryCode) &&
            entry.path().extension() == ZqPlatform::ModuleSuffix()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    std::string folderText = (absolute.lexically_normal() / "").string();
    for (const std::string& name : names) {
        LoadModule((absolute / name).string(), name, folderText);
    }
    return true;
}

void ModuleSet::LoadModule(const std::string& path, const std::string& fileName,
                           const std::string& folder) {
    std::string error = ModuleFileProblem(path);
    ZqPlatform::Module* handle =
        error.empty() ? ZqPlatform::LoadModule(path.c_str(), error) : nullptr;
    if (!handle) {
        std::fprintf(stderr, "zqhost: warning: %s: cannot load module (%s); skipped\n",
                     path.c_str(), error.c_str());
        return;
    }
    auto getPlugins =
        reinterpret_cast<GetPluginsFunction>(ZqPlatform::FindSymbol(handle, "GetPlugins"));
    if (!getPlugins) {
        std::fprintf(stderr, "zqhost: warning: %s: no GetPlugins export; skipped\n", path.c_str());
        ZqPlatform::UnloadModule(handle);
        return;
    }
    auto getCompilerVersion = reinterpret_cast<GetCompilerVersionFunction>(
        ZqPlatform::FindSymbol(handle, "GetCompilerVersion"));
    if (getCompilerVersion && getCompilerVersion() != ZQ_COMPILER_VERSION) {
        std::fprintf(stderr,
                     "zqhost: warning: %s: built with compiler version %d, host expects %d\n",
                     path.c_str(), getCompilerVersion(), int(ZQ_COMPILER_VERSION));
    }
    m_modules.push_back(std::make_unique<Module>(Module{fileName, folder, handle}));
    const Module* module = m_modules.back().get();
    unsigned before = m_array.GetSize();
    getPlugins(m_array);
    for (unsigned i = before; i < m_array.GetSize(); ++i) {
        if (m_array.GetAt(i)) {
            m_plugins.push_back(Plugin{m_array.GetAt(i), module});
        }
    }
}

void ModuleSet::SetPluginPaths() const {
    for (const Plugin& entry : m_plugins) {
        entry.plugin->SetAbsolutePluginPath(entry.module->folder.c_str());
    }
}

void ModuleSet::Unload() {
    m_plugins.clear();
    m_array.RemoveAll();
    for (auto it = m_modules.rbegin(); it != m_modules.rend(); ++it) {
        ZqPlatform::UnloadModule((*it)->handle);
    }
    m_modules.clear();
}

std::string DefaultPluginFolder() {
    fs::path program = ZqPlatform::ExecutablePath();
    if (program.empty()) {
        return "../plugins";
    }
    // Installed, the program is in P/bin and the modules in P/lib/zq/plugins;
    // in the build tree they are in plugins/ beside bin/.
    fs::path prefix = program.parent_path() / "..";
    std::error_code error;
    fs::path installed = prefix / "lib" / "zq" / "plugins";
    fs::path folder = fs::is_directory(installed, error) ? installed : prefix / "plugins";
    return folder.lexically_normal().string();
}
