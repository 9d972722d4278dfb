#include "FuzzFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

const FuzzFolder& FuzzFolder::Get() {
    static const FuzzFolder folder;
    return folder;
}

FuzzFolder::FuzzFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zq-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::abort(); // nothing can be fuzzed without it
    }
    m_path = pattern;
}

FuzzFolder::~FuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string FuzzFolder::Write(const std::string& name, const std::string& bytes) const {
    std::string path = m_path + "/" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    file.close();
    if (!file) {
        std::abort();
    }
    return path;
}
