#include "FileText.h"

#include "HostError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

std::string ReadFileText(const std::string& path) {
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        throw HostError(path + ": is a folder, not a file");
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    if (!file) {
        throw HostError(path + ": cannot be read (" + std::strerror(errno) + ")");
    }
    std::string text;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        throw HostError(path + ": cannot be read (" + std::strerror(errno) + ")");
    }
    return text;
}
