// The ImageTally module: the texture report plug-in and its report text.
#include "ResultsDialogTemplate.h"
#include "ZqImageTallyPlugin.h"
#include "ZqPluginModule.h"

ZQ_DECLARE_MODULE(WITH_COMPILER_VERSION);

const ZqRTTI ZqImageTallyPlugin::m_RTTI("ZqImageTallyPlugin", &ZqPlugin::m_RTTI);

namespace {
// Made at load, emptied and rebuilt by every run, destroyed at unload.
ZqString g_reportText(256);
// The results dialog template is part of the module, as a resource would be.
[[maybe_unused]] const DialogResource& g_resultsDialog = ResultsDialogResource();
} // namespace

ZqString& ImageTallyReportText() {
    return g_reportText;
}

void ZqModuleAddPlugins(ZqPluginArray& plugins) {
    ZqAppendNewPlugin(plugins, new ZqImageTallyPlugin);
}
