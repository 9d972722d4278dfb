#include "ExportScript.h"

#include "ZqExportPluginInfo.h"
#include "ZqPlatform.h"

const char* const kExportBaseName = "MOTIONLENSTEMP";
const char* const kExportExtension = ".ZQF";

namespace {

ZqExportPluginInfo* MakeStep(const ZqString& folder, const char* name, const char* version,
                             const char* className) {
    ZqExportPluginInfo* step = new ZqExportPluginInfo(folder, kExportBaseName, kExportExtension);
    step->SetName(name);
    step->SetVersion(version);
    step->SetClassName(className);
    step->SetType("EXPORT");
    return step;
}

} // namespace

ZqString ExportDataFolder(const ZqString& pluginPath) {
    const char separator = ZqPlatform::kPathSeparator;
    return pluginPath + ".." + separator + ".." + separator + "Data" + separator;
}

ZqScriptInfo* BuildExportScript(const ZqString& folder) {
    ZqScriptInfo* script = new ZqScriptInfo;

    ZqExportPluginInfo* extractor =
        MakeStep(folder, "Controller Extractor", "1.1", "ZqControllerExtractorPlugin");
    extractor->AddParameter("SingleKF", "TRUE");
    extractor->AddParameter("ExportedFileName", "TRUE");
    extractor->AddParameter("CharacterName", "TRUE");
    extractor->AddParameter("UpperCase", "TRUE");
    extractor->AddParameter("Separator", "_");
    extractor->AddParameter("CreateKFM", "TRUE");
    extractor->AddParameter("TransDuration", "0.100000");
    extractor->SetBool("CharacterNameInKFMFile", false, 0);
    script->AddPluginInfo(extractor);

    script->AddPluginInfo(MakeStep(folder, "ZQF Exporter", "1.0", "ZqfExportPlugin"));
    return script;
}
