// Type records of the plug-in kinds that have no body of their own.
#include "ZqExportPlugin.h"
#include "ZqImportPlugin.h"

const ZqRTTI ZqExportPlugin::m_RTTI("ZqExportPlugin", &ZqPlugin::m_RTTI);
const ZqRTTI ZqImportPlugin::m_RTTI("ZqImportPlugin", &ZqPlugin::m_RTTI);
