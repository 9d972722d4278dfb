#pragma once

// Runs the built zqhdr in a scratch folder of its own and captures its
// status and output.
#include "HdrTestImages.h"
#include "RunProgram.h"
#include "ToolPlatform.h"

#include <Imath/half.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

class ZqhdrTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        return m_folder.Write(
            name, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    int Zqhdr(const std::string& arguments, const std::string& limits = "") {
        ProgramOutcome outcome =
            RunProgram(m_folder, limits + std::string(ZQ_BUILD_DIR) + "/bin/zqhdr " + arguments);
        m_out = outcome.out;
        m_err = outcome.err;
        return outcome.status;
    }
    // The same in a subshell of its own, so that `redirections` ("<in >out")
    // are the program's.
    int ZqhdrRedirected(const std::string& arguments, const std::string& redirections,
                        const std::string& limits = "") {
        ProgramOutcome outcome =
            RunProgram(m_folder, "(" + limits + std::string(ZQ_BUILD_DIR) + "/bin/zqhdr " +
                                     arguments + " " + redirections + ")");
        m_out = outcome.out;
        m_err = outcome.err;
        return outcome.status;
    }
    // Nothing but the test's own files is left in the folder.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder.Root())) {
            std::string name = entry.path().filename().string();
            if (name != "stdout.txt" && name != "stderr.txt" &&
                name.find(".hdr") == std::string::npos) {
                names.push_back(name);
            }
        }
        return names;
    }

    ScratchFolder m_folder;
    std::string m_out, m_err;
};

// The top level as the reader leaves it.
inline std::string Decoded(const Bytes& image) {
    ZqMemoryFile file(image.data(), image.size());
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
    return std::string(reinterpret_cast<const char*>(data->GetPixels(0)), data->GetSizeInBytes(0));
}

// Whether a whole ReadFile takes the bytes.
inline bool WholeDecodeSucceeds(const std::string& bytes) {
    ZqMemoryFile file(bytes.data(), bytes.size());
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
    return data != nullptr;
}

// Half-float RGBA pixels with red, green and blue scaled, rounded to the
// nearest half.
inline std::string Scaled(std::string halves, float factor) {
    for (size_t i = 0; i + 2 <= halves.size(); i += 2) {
        if ((i / 2) % 4 == 3) {
            continue;
        }
        Imath::half value;
        std::memcpy(&value, &halves[i], 2);
        value = Imath::half(float(value) * factor);
        std::memcpy(&halves[i], &value, 2);
    }
    return halves;
}

// A file made anew for a writer to take over, as a conversion makes its
// temporary file; whatever stood at `path` is removed first.
inline ToolPlatform::FileHandle NewFileForWriter(const std::string& path) {
    fs::remove(path);
    std::string error;
    ToolPlatform::FileHandle file = ToolPlatform::CreateNew(path, error);
    EXPECT_NE(file, ToolPlatform::kNoFile) << path << ": " << error;
    return file;
}
