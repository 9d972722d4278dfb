#include "OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

OutputFile::OutputFile(std::string path, const std::string& tool)
    : m_path(std::move(path)), m_temporary(TemporaryPathFor(m_path, tool)) {}

std::string OutputFile::TemporaryPathFor(const std::string& path, const std::string& tool) {
    return path + "." + tool + "-partial";
}

OutputFile::~OutputFile() {
    Discard();
}

void OutputFile::Discard() {
    if (!m_committed) {
        std::remove(m_temporary.c_str());
    }
}

bool OutputFile::Commit(std::string& error) {
    // The library's rename replaces an existing file on Windows too, where
    // the C runtime's refuses.
    std::error_code code;
    std::filesystem::rename(m_temporary, m_path, code);
    if (code) {
        error = code.message();
        return false;
    }
    m_committed = true;
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& tool, const std::string& bytes,
                    std::string& error) {
    OutputFile output(path, tool);
    std::FILE* file = std::fopen(output.TemporaryPath().c_str(), "wb");
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int problem = errno;
    if (file && std::fclose(file) != 0 && written) {
        written = false;
        problem = errno;
    }
    if (!written) {
        error = std::strerror(problem);
        return false;
    }
    return output.Commit(error);
}
