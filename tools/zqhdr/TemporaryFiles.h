#pragma once

#include "BandSink.h"
#include "OutputFile.h"

#include <memory>
#include <mutex>
#include <set>
#include <string>

// The temporary outputs of conversions running on many threads, so that an
// interrupted run can remove them all before it ends. Files are made and
// renamed under one lock, which Sweep keeps: no new one appears after it.
class TemporaryFiles {
public:
    // Wraps `writer` so that its file is made under the lock and remembered.
    std::unique_ptr<BandSink> Track(std::unique_ptr<BandSink> writer, const std::string& path);
    // Renames the output into place under the lock and forgets it.
    bool Commit(OutputFile& output, std::string& error);
    // After a failed conversion, whose OutputFile has removed the file.
    void Forget(const std::string& path);
    // Removes every remembered file and keeps the lock: only for a process
    // that ends right after.
    void Sweep();

private:
    friend class TrackedSink;
    std::mutex m_lock;
    std::set<std::string> m_paths;
};
