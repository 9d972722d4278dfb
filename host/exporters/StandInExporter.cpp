#include "StandInExporter.h"

#include <fstream>

bool StandInExporter::WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
    file.close();
    return static_cast<bool>(file);
}
