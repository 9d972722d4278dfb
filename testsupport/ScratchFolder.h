#pragma once

#include <filesystem>
#include <string>

// A fresh folder for one test, removed with everything in it afterwards. Its
// name carries the test's name and a random part, so that test programs
// running at the same time never share one.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes `contents` to the file `name` in the folder; answers its path.
    std::string Write(const std::string& name, const std::string& contents) const;
    std::string Path(const std::string& name) const;
    const std::filesystem::path& Root() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The whole file as bytes; empty when it cannot be read.
std::string ReadText(const std::string& path);
