#include "StandInExporter.h"

#include "OutputFile.h"

#include <cstdio>
#include <filesystem>

bool StandInExporter::WriteFile(const std::string& path, const std::string& contents) const {
    std::string error;
    if (!WriteWholeFile(path, "zqhost", contents, error)) {
        Complain("the folder " + std::filesystem::path(path).parent_path().string() +
                 " cannot be written (" + error + ")");
        return false;
    }
    return true;
}

void StandInExporter::Complain(const std::string& problem) const {
    std::fprintf(stderr, "%s: %s\n", static_cast<const char*>(GetName()), problem.c_str());
}
