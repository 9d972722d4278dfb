#include "MotionLensPlugin.h"

#include "ExportScript.h"
#include "ZqPlatform.h"
#include "ZqPluginManager.h"
#include "ZqRegistry.h"

#include <cstdio>

namespace {

const ZqPluginToolkitRenderer kRenderer = ZQ_RENDERER_DEFAULT; // the value 5
const char* const kViewerCommandKey = "HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command";
const char* const kErrorCaption = "KFM Viewer Error";

// The message for a launch that failed, or null for failures without one.
const char* LaunchFailureMessage(int result) {
    switch (result) {
    case ZqPlatform::LAUNCH_OUT_OF_RESOURCES:
        return "Not enough system resources available\nto run KFM viewer executable.";
    case ZqPlatform::LAUNCH_FILE_NOT_FOUND:
    case ZqPlatform::LAUNCH_PATH_NOT_FOUND:
        return "Unable to find KFM viewer executable.";
    case ZqPlatform::LAUNCH_BAD_FORMAT:
        return "Invalid KFM viewer executable.";
    default:
        return nullptr;
    }
}

} // namespace

MotionLensPlugin::MotionLensPlugin()
    : ZqFramePlugin<ZqViewerPlugin>("KFM Viewer", "1.0", "View KFM files using default viewer.",
                                    "View KFM files using default viewer."),
      m_ViewerCommand(256) {
    ReadViewerCommand();
}

MotionLensPlugin::~MotionLensPlugin() = default;

ZqPluginInfo* MotionLensPlugin::MakeDefaultInfo() {
    return FillDefaultInfo(new ZqViewerPluginInfo(kRenderer), "Viewer");
}

bool MotionLensPlugin::CanView(ZqViewerPluginInfo* info) {
    if (!NamesThisClassAndVersion(info)) {
        return false;
    }
    if (m_ViewerCommand.IsEmpty()) {
        ReadViewerCommand();
    }
    return !m_ViewerCommand.IsEmpty();
}

bool MotionLensPlugin::SupportsRenderer(ZqPluginToolkitRenderer renderer) {
    return renderer == kRenderer;
}

void MotionLensPlugin::ReadViewerCommand() {
    ZqRegistry* registry = ZqRegistry::Create(kViewerCommandKey);
    if (!registry) {
        return;
    }
    registry->QueryString("", m_ViewerCommand);
    delete registry;
}

bool MotionLensPlugin::LaunchViewer(ZqString filePath) {
    if (m_ViewerCommand.IsEmpty() || filePath.IsEmpty()) {
        return false;
    }
    // The stem is the path before its last '.', or the whole path without one.
    ZqString stem(filePath);
    int dot = stem.FindReverse('.');
    if (dot >= 0) {
        stem.SetAt(static_cast<unsigned>(dot), '\0');
    }
    std::remove(stem + ".set");
    std::remove(stem + ".map");
    std::remove(stem + "_Anim.h");

    // The stored template keeps its "%1" for the next launch.
    ZqString command(m_ViewerCommand);
    command.Replace("%1", filePath);
    int result = ZqPlatform::LaunchProgram(command, ZqPlatform::SHOW_NORMAL);
    // Every value below 32 is a failure, with or without a message.
    if (result >= 32) {
        return true;
    }
    if (const char* message = LaunchFailureMessage(result)) {
        ZqPlatform::MessageBox(nullptr, message, kErrorCaption,
                               ZqPlatform::MB_OK_BUTTON | ZqPlatform::MB_STOP_ICON);
    }
    return false;
}

ZqPointer<ZqExecutionResult> MotionLensPlugin::View(const ZqViewerPluginInfo*) {
    ZqString folder = ExportDataFolder(GetAbsolutePluginPath());
    ZqString kfmPath = folder + kExportBaseName + ".KFM";
    std::remove(kfmPath);

    ZqPluginManager* manager = ZqPluginManager::GetInstance();
    if (!manager) {
        return new ZqExecutionResult(ZqExecutionResult::RETURN_FAILURE);
    }
    ZqPointer<ZqBatchExecutionResult> batch = manager->ExecuteScript(BuildExportScript(folder), 0);
    ZqExecutionResult::ReturnCode code = ZqExecutionResult::RETURN_FAILURE;
    if (batch && batch->WasSuccessful() && LaunchViewer(kfmPath)) {
        code = ZqExecutionResult::RETURN_SUCCESS;
    }
    return new ZqExecutionResult(code);
}
