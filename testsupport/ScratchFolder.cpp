#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

ScratchFolder::ScratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? std::string(test->test_suite_name()) + "-" + test->name() : "zq";
    for (char& c : name) {
        if (c == '/') {
            c = '-'; // parameterized tests
        }
    }
    std::random_device random;
    m_path = std::filesystem::path(::testing::TempDir()) /
             ("zq-" + name + "-" + std::to_string(random()));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& contents) const {
    std::string path = Path(name);
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

std::string ScratchFolder::Path(const std::string& name) const {
    return (m_path / name).string();
}

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
