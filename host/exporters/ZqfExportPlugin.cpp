#include "ZqfExportPlugin.h"

#include "ZqSceneGraphSharedData.h"

namespace {
void Describe(const ZqAVObject* object, unsigned depth, std::string& text) {
    text += std::string(2 * depth, ' ') + object->GetName() + "\n";
    if (ZqObject::IsKindOf(&ZqNode::m_RTTI, object)) {
        const auto* node = static_cast<const ZqNode*>(object);
        for (unsigned i = 0; i < node->GetChildCount(); ++i) {
            Describe(node->GetAt(i), depth + 1, text);
        }
    }
}
} // namespace

ZqfExportPlugin::ZqfExportPlugin()
    : StandInExporter("ZQF Exporter", "1.0", "Exports the scene to a ZQF file",
                      "Exports the whole scene graph to a ZQF file.") {}

ZqPointer<ZqExecutionResult> ZqfExportPlugin::Execute(const ZqPluginInfo* info) {
    const ZqExportPluginInfo* target = AsExportInfo(info);
    auto* scene =
        static_cast<ZqSceneGraphSharedData*>(GetSharedData(&ZqSceneGraphSharedData::m_RTTI));
    if (!target) {
        return Result(false);
    }
    if (!scene) {
        Complain("no scene to export");
        return Result(false);
    }
    std::string contents;
    for (unsigned i = 0; i < scene->GetRootCount(); ++i) {
        Describe(scene->GetRootAt(i), 0, contents);
    }
    return Result(WriteFile(TargetPath(*target, target->GetExtension()), contents));
}
