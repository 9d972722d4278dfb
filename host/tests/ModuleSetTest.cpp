#include "ModuleSet.h"
#include "ScratchFolder.h"
#include "ZqPlatformTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace fs = std::filesystem;

namespace {
const std::string kSuffix = ZqPlatform::ModuleSuffix();
const std::string kPlugins = std::string(ZQ_BUILD_DIR) + "/plugins";
const std::string kCullSweep = kPlugins + "/CullSweep" + kSuffix;
#if defined(_WIN32)
const std::string kNotAModule = std::string(ZQ_BUILD_DIR) + "/bin/ZqSystem.dll";
#else
const std::string kNotAModule = std::string(ZQ_BUILD_DIR) + "/lib/libZqSystem.so";
#endif
} // namespace

TEST(ModuleSet, LoadsTheBuiltModuleThroughTheHostsPath) {
    unsigned switchesBefore = ZqPlatform::ThreadNotificationSwitchCount();
    ModuleSet modules;
    std::string error;
    ASSERT_TRUE(modules.Load(kPlugins, error)) << error;
    std::set<const ModuleSet::Module*> loaded;
    const ModuleSet::Plugin* cullSweep = nullptr;
    for (const ModuleSet::Plugin& entry : modules.GetPlugins()) {
        loaded.insert(entry.module);
        EXPECT_EQ(entry.plugin->GetRefCount(), 1u); // the host's array holds the only reference
        if (entry.module->fileName == "CullSweep" + kSuffix) {
            cullSweep = &entry;
        }
    }
    // Every module turned off thread notifications as it was loaded.
    EXPECT_EQ(ZqPlatform::ThreadNotificationSwitchCount(), switchesBefore + loaded.size());
    ASSERT_NE(cullSweep, nullptr);
    const ModuleSet::Plugin& entry = *cullSweep;
    EXPECT_STREQ(entry.plugin->GetRTTI()->GetName(), "CullSweepPlugin");

    modules.SetPluginPaths();
    std::string folder = static_cast<const char*>(entry.plugin->GetAbsolutePluginPath());
    EXPECT_TRUE(fs::path(folder).is_absolute());
    EXPECT_EQ(folder.back(), ZqPlatform::kPathSeparator);
    EXPECT_TRUE(fs::exists(fs::path(folder) / ("CullSweep" + kSuffix))) << folder;

    unsigned objectsBefore = ZqRefObject::GetTotalObjectCount();
    size_t pluginCount = modules.GetPlugins().size();
    modules.Unload();
    EXPECT_EQ(ZqRefObject::GetTotalObjectCount(), objectsBefore - pluginCount);
    EXPECT_TRUE(modules.GetPlugins().empty());
}

TEST(ModuleSet, LoadsInFileNameOrderAndSkipsWhatIsNoModule) {
    ScratchFolder folder;
    fs::path plugins = folder.Root() / "plugins";
    fs::create_directory(plugins);
    fs::copy_file(kCullSweep, plugins / ("b" + kSuffix));
    fs::copy_file(kCullSweep, plugins / ("a" + kSuffix));
    std::ofstream(plugins / ("c" + kSuffix)) << "not a shared library";
    fs::copy_file(kNotAModule, plugins / ("d" + kSuffix));
    fs::copy_file(kCullSweep, plugins / "e.txt");
    fs::create_directory(plugins / ("f" + kSuffix));

    ModuleSet modules;
    std::string error;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(modules.Load(plugins.string(), error));
    std::string warnings = ::testing::internal::GetCapturedStderr();

    ASSERT_EQ(modules.GetPlugins().size(), 2u);
    EXPECT_EQ(modules.GetPlugins()[0].module->fileName, "a" + kSuffix);
    EXPECT_EQ(modules.GetPlugins()[1].module->fileName, "b" + kSuffix);
    EXPECT_NE(warnings.find("c" + kSuffix + ": cannot load module"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("d" + kSuffix + ": no GetPlugins export; skipped"), std::string::npos)
        << warnings;
    EXPECT_EQ(warnings.find("e.txt"), std::string::npos);
}

TEST(ModuleSet, SkipsModuleFilesCutShortAndLoadsTheOthers) {
    ScratchFolder folder;
    fs::path plugins = folder.Root() / "plugins";
    fs::create_directory(plugins);
    fs::copy_file(kCullSweep, plugins / ("whole" + kSuffix));
    std::string module = ReadText(kCullSweep);
    ASSERT_GT(module.size(), 10000u);
    const size_t cuts[] = {0, 3, 64, 1000, 2500, 4096, 6000, 10000};
    for (size_t cut : cuts) {
        std::ofstream(plugins / ("cut-" + std::to_string(cut) + kSuffix), std::ios::binary)
            << module.substr(0, cut);
    }

    ModuleSet modules;
    std::string error;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(modules.Load(plugins.string(), error));
    std::string warnings = ::testing::internal::GetCapturedStderr();

    ASSERT_EQ(modules.GetPlugins().size(), 1u);
    EXPECT_EQ(modules.GetPlugins()[0].module->fileName, "whole" + kSuffix);
    for (size_t cut : {1000, 2500, 4096, 6000, 10000}) {
        EXPECT_NE(warnings.find("cut-" + std::to_string(cut) + kSuffix +
                                ": cannot load module (the file is shorter than its headers "
                                "say); skipped\n"),
                  std::string::npos)
            << warnings;
    }
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), long(std::size(cuts)))
        << warnings;
}

TEST(ModuleSet, WarnsAboutAnotherToolchainButLoadsTheModule) {
    ModuleSet modules;
    std::string error;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(modules.Load(std::string(ZQ_BUILD_DIR) + "/test-modules", error)) << error;
    std::string warnings = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("WrongVersionModule" + kSuffix +
                            ": built with compiler version 1200, host expects 1310"),
              std::string::npos)
        << warnings;
    EXPECT_TRUE(modules.GetPlugins().empty());
}

TEST(ModuleSet, MissingFolderIsAnErrorNotACrash) {
    ModuleSet modules;
    std::string error;
    EXPECT_FALSE(modules.Load("/nonexistent/plugins", error));
    EXPECT_EQ(error, "plug-in folder /nonexistent/plugins does not exist or is not a folder");
    EXPECT_FALSE(modules.Load(kCullSweep, error)); // a file, not a folder
    EXPECT_TRUE(modules.GetPlugins().empty());
}
