#include "ZqImageTallyPlugin.h"
#include "RecordingPresenter.h"
#include "ZqPluginModule.h"
#include "ZqRenderedTexture.h"
#include "ZqSceneGraphSharedData.h"
#include "ZqSharedDataList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ImageTallyTest : public ::testing::Test {
protected:
    void TearDown() override { ZqSharedDataList::GetInstance()->RemoveAll(); }
    ZqExecutionResult::ReturnCode Run() {
        ZqPointer<ZqImageTallyPlugin> plugin = new ZqImageTallyPlugin;
        ZqPointer<ZqExecutionResult> result = plugin->Execute(nullptr);
        EXPECT_EQ(result->GetRefCount(), 1u);
        return result->GetReturnCode();
    }
    RecordingPresenter m_recorder;
};

} // namespace

TEST_F(ImageTallyTest, ShowsTheReportAndKeepsItAsTheModulesText) {
    ZqSharedDataList::GetInstance()->Insert(new ZqSceneGraphSharedData);
    ZqPointer<ZqTexture> texture = new ZqRenderedTexture(2, 3);
    EXPECT_EQ(Run(), ZqExecutionResult::RETURN_SUCCESS);
    std::string report = static_cast<const char*>(ImageTallyReportText());
    EXPECT_EQ(report.rfind("ZqRenderedTexture Object: (2 x 3)\r\r\n\r\r\n====", 0), 0u);
    EXPECT_EQ(m_recorder.shown,
              std::vector<std::string>{"dialog|Texture Analysis Results:|" + report});

    // A second run replaces the report; nothing accumulates.
    texture = nullptr;
    ZqPointer<ZqTexture> other = new ZqRenderedTexture(7, 7);
    EXPECT_EQ(Run(), ZqExecutionResult::RETURN_SUCCESS);
    std::string second = static_cast<const char*>(ImageTallyReportText());
    EXPECT_EQ(second.rfind("ZqRenderedTexture Object: (7 x 7)\r\r\n\r\r\n====", 0), 0u);
    EXPECT_EQ(second.find("(2 x 3)"), std::string::npos);
}

TEST_F(ImageTallyTest, WithoutSceneDataFailsSilentlyAndKeepsTheLastReport) {
    ZqSharedDataList::GetInstance()->Insert(new ZqSceneGraphSharedData);
    EXPECT_EQ(Run(), ZqExecutionResult::RETURN_SUCCESS);
    std::string before = static_cast<const char*>(ImageTallyReportText());
    ZqSharedDataList::GetInstance()->RemoveAll();
    m_recorder.shown.clear();
    ZqPointer<ZqTexture> texture = new ZqRenderedTexture(5, 5);
    EXPECT_EQ(Run(), ZqExecutionResult::RETURN_FAILURE);
    EXPECT_TRUE(m_recorder.shown.empty());
    EXPECT_EQ(std::string(ImageTallyReportText()), before);
}

TEST_F(ImageTallyTest, IdentityAcceptanceAndDefaultInfo) {
    ZqPluginArray plugins;
    GetPlugins(plugins);
    ASSERT_EQ(plugins.GetSize(), 1u);
    ZqPlugin* plugin = plugins.GetAt(0);
    EXPECT_EQ(plugin->GetRefCount(), 1u);
    EXPECT_STREQ(plugin->GetName(), "Texture Analyzer");
    EXPECT_STREQ(plugin->GetVersion(), "1.0");
    EXPECT_STREQ(plugin->GetShortDescription(), "Displays Texture partitioning statistics");
    EXPECT_STREQ(plugin->GetLongDescription(),
                 "Searches the scene graph for Texturened objects, printing Texture partition "
                 "information.");
    EXPECT_STREQ(plugin->GetRTTI()->GetName(), "ZqImageTallyPlugin");
    EXPECT_FALSE(plugin->HasOptionsDialog());
    EXPECT_FALSE(plugin->ShowOptionsDialog(nullptr, nullptr));

    ZqPointer<ZqPluginInfo> info = plugin->MakeDefaultInfo();
    EXPECT_STREQ(info->GetName(), "Texture Analyzer");
    EXPECT_STREQ(info->GetVersion(), "1.0");
    EXPECT_STREQ(info->GetClassName(), "ZqImageTallyPlugin");
    EXPECT_STREQ(info->GetType(), "PROCESS");
    EXPECT_TRUE(plugin->CanExecute(info));
    info->SetClassName("zqimagetallyplugin");
    EXPECT_FALSE(plugin->CanExecute(info));
    info->SetClassName("ZqImageTallyPlugin");
    info->SetVersion("1.1");
    EXPECT_FALSE(plugin->CanExecute(info));
}
