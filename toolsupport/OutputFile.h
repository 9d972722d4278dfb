#pragma once

#include <string>

// An output written under a temporary name beside its final path and renamed
// into place only when complete, so a failed write leaves nothing behind and
// an existing file is never replaced by a bad one. The temporary name carries
// the tool's name and a random part (`out.json.zqhost-partial-3f9c...`): a
// leftover says who left it, and no one who may write the folder can plant a
// file or link under the name beforehand. Writers create it with
// CreateNewFile or their own exclusive creation, never through a link.
class OutputFile {
public:
    OutputFile(std::string path, const std::string& tool);
    ~OutputFile(); // removes the temporary file unless committed

    const std::string& TemporaryPath() const { return m_temporary; }
    // The writer made the temporary file: from now on it is ours to remove.
    void Created() { m_created = true; }
    // Renames the temporary file to the final path, replacing what is there;
    // false with `error` set.
    bool Commit(std::string& error);
    // Removes the temporary file now, when it was made.
    void Discard();

private:
    std::string m_path;
    std::string m_temporary;
    bool m_created = false;
    bool m_committed = false;
};

// Writes `bytes` as the whole of `path` through an OutputFile of `tool`;
// false with `error` (the cause) set, and nothing left behind.
bool WriteWholeFile(const std::string& path, const std::string& tool, const std::string& bytes,
                    std::string& error);
