#include "OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

OutputFile::OutputFile(std::string path)
    : m_path(std::move(path)), m_temporary(TemporaryPathFor(m_path)) {}

std::string OutputFile::TemporaryPathFor(const std::string& path) {
    return path + ".zqhdr-partial";
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
    if (std::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    m_committed = true;
    return true;
}
