#pragma once

#include "MotionLensPlugin.h"
#include "ZqPlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

// Records launches and message boxes instead of starting programs and
// showing windows, and gives each test its own registry file and folder.
class MotionLensTest : public ::testing::Test, ZqPlatform::Launcher, ZqPlatform::Presenter {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::path(::testing::TempDir()) /
                   (std::string("motionlens-") + test->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_registry = (m_folder / "registry.reg").string();
        ZqPlatform::SetRegistryFile(m_registry.c_str());
        m_previousLauncher = ZqPlatform::SetLauncher(this);
        m_previousPresenter = ZqPlatform::SetPresenter(this);
    }
    void TearDown() override {
        ZqPlatform::SetPresenter(m_previousPresenter);
        ZqPlatform::SetLauncher(m_previousLauncher);
        ZqPlatform::SetRegistryFile(nullptr);
        std::filesystem::remove_all(m_folder);
    }

    void RegisterViewer(const std::string& command) {
        std::string escaped;
        for (char c : command) {
            if (c == '\\' || c == '"') {
                escaped += '\\';
            }
            escaped += c;
        }
        std::ofstream(m_registry) << "Windows Registry Editor Version 5.00\r\n\r\n"
                                     "[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\r\n"
                                     "@=\""
                                  << escaped << "\"\r\n";
    }
    void UnregisterViewer() { std::remove(m_registry.c_str()); }

    std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    void Touch(const std::string& path) const { std::ofstream(path) << "x"; }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    int Launch(const char* commandLine, int showCommand) override {
        m_launches.push_back(commandLine);
        m_showCommands.push_back(showCommand);
        if (m_onLaunch) {
            m_onLaunch();
        }
        return m_launchResult;
    }
    void ShowMessageBox(const char* text, const char* caption, unsigned style) override {
        m_boxes.push_back(std::string(caption) + "|" + text + "|" + std::to_string(style));
    }
    void ShowInfoDialog(const char*, const char*) override {}

    std::filesystem::path m_folder;
    std::string m_registry;
    int m_launchResult = 42;
    std::function<void()> m_onLaunch;
    std::vector<std::string> m_launches;
    std::vector<int> m_showCommands;
    std::vector<std::string> m_boxes;

private:
    ZqPlatform::Launcher* m_previousLauncher = nullptr;
    ZqPlatform::Presenter* m_previousPresenter = nullptr;
};

inline ZqPointer<ZqViewerPluginInfo> ViewerStep(const char* className, const char* version) {
    ZqPointer<ZqViewerPluginInfo> info = new ZqViewerPluginInfo(ZQ_RENDERER_DEFAULT);
    info->SetClassName(className);
    info->SetVersion(version);
    return info;
}

inline ZqString Text(const std::string& text) {
    return ZqString(text.c_str());
}
