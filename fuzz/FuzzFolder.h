#pragma once

#include <string>

// The fuzzers that read files: one folder of their own for the whole run,
// removed when the run ends.
class FuzzFolder {
public:
    // The process's folder, made at the first call.
    static const FuzzFolder& Get();

    // Writes `bytes` to the file `name` in the folder; answers its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

private:
    FuzzFolder();
    ~FuzzFolder();

    std::string m_path;
};
