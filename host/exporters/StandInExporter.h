#pragma once

#include "ZqExportPlugin.h"
#include "ZqExportPluginInfo.h"
#include "ZqFramePlugin.h"

#include <string>

// What the host's stand-in exporters share: steps matched by class name and
// version, default infos of type "EXPORT", and the target file of a step.
class StandInExporter : public ZqFramePlugin<ZqExportPlugin> {
public:
    using ZqFramePlugin<ZqExportPlugin>::ZqFramePlugin;

    bool CanExecute(ZqPluginInfo* info) override { return NamesThisClassAndVersion(info); }
    ZqPluginInfo* MakeDefaultInfo() override {
        return FillDefaultInfo(new ZqExportPluginInfo("", "", ""), "EXPORT");
    }

protected:
    static const ZqExportPluginInfo* AsExportInfo(const ZqPluginInfo* info) {
        return info && info->GetRTTI()->IsKindOf(&ZqExportPluginInfo::m_RTTI)
                   ? static_cast<const ZqExportPluginInfo*>(info)
                   : nullptr;
    }
    // Directory + file name + extension, plainly joined.
    static std::string TargetPath(const ZqExportPluginInfo& info, const char* extension) {
        return std::string(info.GetDirectory()) + static_cast<const char*>(info.GetFile()) +
               extension;
    }
    // Writes `contents` as the whole of `path`; when it cannot, says on stderr
    // which folder could not be written and why, and gives false.
    bool WriteFile(const std::string& path, const std::string& contents) const;
    // A line on stderr that names this exporter and what failed.
    void Complain(const std::string& problem) const;
    static ZqPointer<ZqExecutionResult> Result(bool success) {
        return new ZqExecutionResult(success ? ZqExecutionResult::RETURN_SUCCESS
                                             : ZqExecutionResult::RETURN_FAILURE);
    }
};
