#include "OutputFile.h"

#include "NewFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

namespace {

// 64 bits no one can guess. The counter and the clock keep names apart
// within a process even where the random device is weak.
std::string UnpredictableSuffix() {
    static std::atomic<unsigned long long> counter{0};
    unsigned long long bits = static_cast<unsigned long long>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()) ^
                              (++counter * 0x9e3779b97f4a7c15ull);
    try {
        std::random_device device;
        bits ^= (static_cast<unsigned long long>(device()) << 32) ^ device();
    } catch (const std::exception&) {
        // No random device: the clock and the counter still make the name new.
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", bits);
    return text;
}

} // namespace

OutputFile::OutputFile(std::string path, const std::string& tool)
    : m_path(std::move(path)),
      m_temporary(m_path + "." + tool + "-partial-" + UnpredictableSuffix()) {}

OutputFile::~OutputFile() {
    Discard();
}

void OutputFile::Discard() {
    if (m_created && !m_committed) {
        std::remove(m_temporary.c_str());
        m_created = false;
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
    std::FILE* file = CreateNewFile(output.TemporaryPath(), error);
    if (!file) {
        return false;
    }
    output.Created();
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int problem = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        problem = errno;
    }
    if (!written) {
        error = std::strerror(problem);
        return false;
    }
    return output.Commit(error);
}
