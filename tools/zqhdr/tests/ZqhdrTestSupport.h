#pragma once

// Runs the built zqhdr in a scratch folder of its own and captures its
// status and output.
#include "HdrTestImages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

class ZqhdrTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::path(::testing::TempDir()) /
                   (std::string("zqhdr-") +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Write(const std::string& name, const Bytes& bytes) {
        std::string path = Path(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path;
    }
    std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    int Zqhdr(const std::string& arguments, const std::string& limits = "") {
        std::string command = limits + std::string(ZQ_BUILD_DIR) + "/bin/zqhdr " + arguments +
                              " >" + Path("out.txt") + " 2>" + Path("err.txt");
        int raw = std::system(command.c_str());
        m_out = Read(Path("out.txt"));
        m_err = Read(Path("err.txt"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    // Nothing but the test's own files is left in the folder.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            std::string name = entry.path().filename().string();
            if (name != "out.txt" && name != "err.txt" && name.find(".hdr") == std::string::npos) {
                names.push_back(name);
            }
        }
        return names;
    }

    fs::path m_folder;
    std::string m_out, m_err;
};

// The top level as the reader leaves it.
inline std::string Decoded(const Bytes& image) {
    ZqMemoryFile file(image.data(), image.size());
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
    return std::string(reinterpret_cast<const char*>(data->GetPixels(0)), data->GetSizeInBytes(0));
}
