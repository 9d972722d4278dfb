#include "ZqControllerExtractorPlugin.h"

ZqControllerExtractorPlugin::ZqControllerExtractorPlugin()
    : StandInExporter("Controller Extractor", "1.1", "Extracts controllers to a KFM file",
                      "Extracts the scene's animation controllers and writes a KFM file.") {}

ZqPointer<ZqExecutionResult> ZqControllerExtractorPlugin::Execute(const ZqPluginInfo* info) {
    const ZqExportPluginInfo* target = AsExportInfo(info);
    if (!target) {
        return Result(false);
    }
    const char* createKfm = target->GetValue("CreateKFM");
    if (!createKfm || std::string(createKfm) != "TRUE") {
        return Result(true);
    }
    std::string contents = "KFM stand-in\n";
    for (unsigned i = 0; i < target->GetParameterCount(); ++i) {
        contents += std::string(target->GetKeyAt(i)) + "=" + target->GetValueAt(i) + "\n";
    }
    return Result(WriteFile(TargetPath(*target, ".KFM"), contents));
}
