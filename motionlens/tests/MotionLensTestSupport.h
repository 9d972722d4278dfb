#pragma once

#include "MotionLensPlugin.h"
#include "RecordingLauncher.h"
#include "RecordingPresenter.h"
#include "ScratchFolder.h"
#include "ZqPlatform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

// Records launches and message boxes instead of starting programs and
// showing windows, and gives each test its own registry file and folder.
class MotionLensTest : public ::testing::Test {
protected:
    void SetUp() override { ZqPlatform::SetRegistryFile(m_registry.c_str()); }
    void TearDown() override { ZqPlatform::SetRegistryFile(nullptr); }

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

    std::string Path(const std::string& name) const { return m_folder.Path(name); }
    void Touch(const std::string& path) const { std::ofstream(path) << "x"; }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    ScratchFolder m_folder;
    std::string m_registry = m_folder.Path("registry.reg");
    RecordingLauncher m_launcher;
    RecordingPresenter m_presenter;
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
