#pragma once

#include <filesystem>

// Copies the built plug-in modules, and nothing beside them, into `folder`
// (made when missing): a plug-in folder of the user's own.
void CopyBuiltModules(const std::filesystem::path& folder);
