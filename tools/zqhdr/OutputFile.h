#pragma once

#include <string>

// An output written under a temporary name beside its final path and renamed
// into place only when complete, so a failed write leaves nothing behind.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile(); // removes the temporary file unless committed

    const std::string& TemporaryPath() const { return m_temporary; }
    // The temporary name of an output to `path`.
    static std::string TemporaryPathFor(const std::string& path);
    // Renames the temporary file to the final path; false with `error` set.
    bool Commit(std::string& error);
    // Removes the temporary file now.
    void Discard();

private:
    std::string m_path;
    std::string m_temporary;
    bool m_committed = false;
};
