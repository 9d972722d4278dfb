#include "TemporaryFiles.h"

#include <cstdio>

class TrackedSink : public BandSink {
public:
    TrackedSink(TemporaryFiles& files, std::unique_ptr<BandSink> writer, std::string path)
        : m_files(files), m_writer(std::move(writer)), m_path(std::move(path)) {}

    bool Begin(const ImageShape& shape, std::string& error) override {
        std::lock_guard<std::mutex> hold(m_files.m_lock); // after a Sweep, waits for the end
        m_files.m_paths.insert(m_path);
        return m_writer->Begin(shape, error);
    }
    bool Take(const Band& band, std::string& error) override { return m_writer->Take(band, error); }
    bool Finish(std::string& error) override { return m_writer->Finish(error); }

private:
    TemporaryFiles& m_files;
    std::unique_ptr<BandSink> m_writer;
    std::string m_path;
};

std::unique_ptr<BandSink> TemporaryFiles::Track(std::unique_ptr<BandSink> writer,
                                                const std::string& path) {
    return std::make_unique<TrackedSink>(*this, std::move(writer), path);
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
