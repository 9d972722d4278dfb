#pragma once

#include "OutputFile.h"
#include "ToolPlatform.h"

#include <mutex>
#include <set>
#include <string>

// The temporary outputs of conversions running on many threads, so that an
// interrupted run can remove them all before it ends. Files are made and
// renamed under one lock, which Sweep keeps: no new one appears after it.
class TemporaryFiles {
public:
    // Makes the output's temporary file anew under the lock and remembers it;
    // kNoFile with `error` set when it cannot be made.
    ToolPlatform::FileHandle Create(OutputFile& output, std::string& error);
    // Renames the output into place under the lock and forgets it.
    bool Commit(OutputFile& output, std::string& error);
    // After a failed conversion, whose OutputFile has removed the file.
    void Forget(const std::string& path);
    // Removes every remembered file and keeps the lock: only for a process
    // that ends right after.
    void Sweep();

private:
    std::mutex m_lock;
    std::set<std::string> m_paths;
};
