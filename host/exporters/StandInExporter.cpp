#include "StandInExporter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

bool StandInExporter::WriteFile(const std::string& path, const std::string& contents) const {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written =
        file && std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    int problem = errno;
    if (file && std::fclose(file) != 0 && written) {
        written = false;
        problem = errno;
    }
    if (!written) {
        Complain("the folder " + std::filesystem::path(path).parent_path().string() +
                 " cannot be written (" + std::strerror(problem) + ")");
    }
    return written;
}

void StandInExporter::Complain(const std::string& problem) const {
    std::fprintf(stderr, "%s: %s\n", static_cast<const char*>(GetName()), problem.c_str());
}
