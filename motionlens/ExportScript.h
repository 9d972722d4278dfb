#pragma once

#include "ZqScriptInfo.h"
#include "ZqString.h"

// Every export for viewing goes to the same files: this base name in the data
// folder, with this extension for the exported scene.
extern const char* const kExportBaseName;
extern const char* const kExportExtension;

// The data folder beside the plug-in folder: the plug-in path (ending with a
// separator) followed by "..", "..", "Data", each with a separator. Not
// normalised, not checked, not created.
ZqString ExportDataFolder(const ZqString& pluginPath);

// A new script of two export steps into `folder`: the controller extractor,
// asked to create the KFM file, then the scene-file exporter.
ZqScriptInfo* BuildExportScript(const ZqString& folder);
