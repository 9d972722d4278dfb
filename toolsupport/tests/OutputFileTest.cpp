#include "OutputFile.h"
#include "NewFile.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const ScratchFolder& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.Root())) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

} // namespace

TEST(OutputFileTest, TemporaryNamesAreNewEachTimeBesideTheOutputAndSayWhoMadeThem) {
    ScratchFolder folder;
    const std::string out = folder.Path("scene.json");
    OutputFile first(out, "zqhost");
    OutputFile second(out, "zqhost");
    EXPECT_NE(first.TemporaryPath(), second.TemporaryPath());
    for (const OutputFile* output : {&first, &second}) {
        fs::path temporary(output->TemporaryPath());
        EXPECT_EQ(temporary.parent_path(), fs::path(out).parent_path());
        EXPECT_EQ(temporary.filename().string().rfind("scene.json.zqhost-partial-", 0), 0u)
            << temporary;
    }
}

TEST(OutputFileTest, AWholeWriteReplacesTheOldFileAndAFailedOneLeavesNothing) {
    ScratchFolder folder;
    const std::string out = folder.Write("scene.json", "old");
    std::string error;
    ASSERT_TRUE(WriteWholeFile(out, "zqhost", "new contents", error)) << error;
    EXPECT_EQ(ReadText(out), "new contents");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"scene.json"});

    EXPECT_FALSE(WriteWholeFile(folder.Path("missing/scene.json"), "zqhost", "x", error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(Names(folder), std::vector<std::string>{"scene.json"});
}

TEST(OutputFileTest, ANewFileIsNeverOneThatExists) {
    ScratchFolder folder;
    const std::string existing = folder.Write("taken", "keep me");
    std::string error;
    EXPECT_EQ(CreateNewFile(existing, error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadText(existing), "keep me");
}

#ifndef _WIN32
TEST(OutputFileTest, ANewFileIsNeverMadeThroughALink) {
    ScratchFolder folder;
    const std::string victim = folder.Write("victim.txt", "keep me");
    const std::string linked = folder.Path("linked");
    const std::string dangling = folder.Path("dangling");
    fs::create_symlink(victim, linked);
    fs::create_symlink(folder.Path("nowhere"), dangling);
    for (const std::string& path : {linked, dangling}) {
        std::string error;
        EXPECT_EQ(CreateNewFile(path, error), nullptr) << path;
    }
    EXPECT_EQ(ReadText(victim), "keep me");
    EXPECT_FALSE(fs::exists(folder.Path("nowhere")));
}

TEST(OutputFileTest, AWrittenFileHasThePermissionsOfAnyNewFile) {
    ScratchFolder folder;
    for (mode_t mask : {mode_t(022), mode_t(077), mode_t(0)}) {
        const std::string out = folder.Path("out" + std::to_string(mask));
        mode_t before = ::umask(mask);
        std::string error;
        bool written = WriteWholeFile(out, "zqhost", "bytes", error);
        ::umask(before);
        ASSERT_TRUE(written) << error;
        struct stat status = {};
        ASSERT_EQ(::stat(out.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask) << "umask " << mask;
    }
}
#endif
