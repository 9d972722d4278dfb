#include "TemporaryFiles.h"

#include <cstdio>

ToolPlatform::FileHandle TemporaryFiles::Create(OutputFile& output, std::string& error) {
    std::lock_guard<std::mutex> hold(m_lock); // after a Sweep, waits for the end
    const std::string& path = output.TemporaryPath();
    m_paths.insert(path);
    ToolPlatform::FileHandle file = ToolPlatform::CreateNew(path, error);
    if (file == ToolPlatform::kNoFile) {
        m_paths.erase(path); // not ours to remove
    } else {
        output.Created();
    }
    return file;
}

bool TemporaryFiles::Commit(OutputFile& output, std::string& error) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_paths.erase(output.TemporaryPath());
    return output.Commit(error);
}

void TemporaryFiles::Forget(const std::string& path) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_paths.erase(path);
}

void TemporaryFiles::Sweep() {
    m_lock.lock();
    for (const std::string& path : m_paths) {
        std::remove(path.c_str());
    }
    m_paths.clear();
}
