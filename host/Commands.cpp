#include "Commands.h"

#include "ConsolePresenter.h"
#include "FileText.h"
#include "HostError.h"
#include "ModuleSet.h"
#include "SceneFile.h"
#include "ScriptFile.h"
#include "ScriptRunner.h"
#include "ZqSharedDataList.h"

#include <cstdio>
#include <iostream>
#include <new>

namespace {

// While an input is read, running out of memory is that input's problem:
// a HostError that names it.
template <typename Read> auto ReadInput(const std::string& path, Read read) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
        throw HostError(path + ": out of memory while reading");
    }
}

void LoadModules(ModuleSet& modules, const CommandLine& line) {
    std::string error;
    if (!modules.Load(line.Option("--plugins", DefaultPluginFolder()), error)) {
        throw HostError(error);
    }
}

// Installs the presenter and the scene for one run and takes them away again,
// however the run ends.
class RunEnvironment {
public:
    RunEnvironment(const std::string& dialogFolder, ZqSceneGraphSharedData* scene)
        : m_presenter(dialogFolder) {
        m_previous = ZqPlatform::SetPresenter(&m_presenter);
        if (scene) {
            ZqSharedDataList::GetInstance()->Insert(scene);
        }
    }
    ~RunEnvironment() {
        ZqSharedDataList::GetInstance()->RemoveAll();
        ZqPlatform::SetPresenter(m_previous);
    }

private:
    ConsolePresenter m_presenter;
    ZqPlatform::Presenter* m_previous;
};

} // namespace

int ListPlugins(const CommandLine& line) {
    ModuleSet modules;
    LoadModules(modules, line);
    for (const ModuleSet::Plugin& entry : modules.GetPlugins()) {
        ZqPointer<ZqPluginInfo> info = entry.plugin->MakeDefaultInfo();
        std::printf("%s\t%s\t%s\t%s\t%s\n", entry.module->fileName.c_str(),
                    static_cast<const char*>(entry.plugin->GetName()),
                    static_cast<const char*>(entry.plugin->GetVersion()),
                    entry.plugin->GetRTTI()->GetName(),
                    info ? static_cast<const char*>(info->GetType()) : "-");
    }
    return 0;
}

int RunScript(const CommandLine& line) {
    const std::string& scriptPath = line.arguments[0];
    ZqPointer<ZqScriptInfo> script =
        ReadInput(scriptPath, [&] { return ReadScriptFile(scriptPath); });
    Scene scene;
    const std::string scenePath = line.Option("--scene");
    if (!scenePath.empty()) {
        scene = ReadInput(scenePath, [&] { return ReadSceneFile(scenePath); });
    }
    const std::string registry = line.Option("--registry");
    if (!registry.empty()) {
        ReadFileText(registry); // named on the command line, it must be there to be read
        ZqPlatform::SetRegistryFile(registry.c_str());
    }
    ModuleSet modules;
    LoadModules(modules, line);
    modules.SetPluginPaths();

    bool succeeded = false;
    {
        RunEnvironment environment(line.Option("--save-dialogs"), scene.graph);
        ScriptRunner runner(modules);
        ZqPointer<ZqBatchExecutionResult> batch = runner.ExecuteScript(script, 0);
        script = nullptr;
        succeeded = batch->WasSuccessful();
    }
    int status = succeeded ? 0 : 1;
    if (scene.graph && !line.Option("--save-scene").empty()) {
        try {
            WriteSceneFile(line.Option("--save-scene"), scene);
        } catch (const HostError& problem) {
            std::fprintf(stderr, "zqhost: %s\n", problem.what());
            status = 1;
        }
    }
    // Everything a plug-in may have made goes before the modules are unloaded.
    scene = Scene();
    modules.Unload();
    return status;
}

int ShowOptions(const CommandLine& line) {
    ModuleSet modules;
    LoadModules(modules, line);
    const std::string& name = line.arguments[0];
    for (const ModuleSet::Plugin& entry : modules.GetPlugins()) {
        if (!entry.plugin->GetName().EqualsNoCase(name.c_str())) {
            continue;
        }
        if (!entry.plugin->HasOptionsDialog()) {
            std::fprintf(stderr, "zqhost: %s has no options dialog\n",
                         static_cast<const char*>(entry.plugin->GetName()));
            return 1;
        }
        ConsolePresenter presenter("");
        ZqPlatform::Presenter* previous = ZqPlatform::SetPresenter(&presenter);
        ZqPointer<ZqPluginInfo> info = entry.plugin->MakeDefaultInfo();
        entry.plugin->ShowOptionsDialog(info, nullptr);
        ZqPlatform::SetPresenter(previous);
        return 0;
    }
    std::fprintf(stderr, "zqhost: no plug-in is named \"%s\"\n", name.c_str());
    return 1;
}

int ShowScene(const CommandLine& line) {
    const std::string& path = line.arguments[0];
    Scene scene = ReadInput(path, [&] { return ReadSceneFile(path); });
    PrintScene(std::cout, scene);
    return 0;
}
