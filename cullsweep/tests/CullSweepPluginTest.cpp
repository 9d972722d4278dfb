#include "CullSweepPlugin.h"
#include "HiddenObjectScene.h"
#include "RecordingPresenter.h"
#include "ZqAnimationLog.h"
#include "ZqOptimize.h"
#include "ZqPluginModule.h"
#include "ZqSceneGraphSharedData.h"
#include "ZqSharedDataList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void RecordRoot(ZqAVObject* root, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(root->GetName());
}

class CullSweepTest : public ::testing::Test {
protected:
    void SetUp() override { ZqOptimize::SetRemovalObserver(RecordRoot, &m_processed); }
    void TearDown() override {
        ZqOptimize::SetRemovalObserver(nullptr, nullptr);
        ZqSharedDataList::GetInstance()->RemoveAll();
    }
    ZqExecutionResult::ReturnCode Run() {
        ZqPointer<CullSweepPlugin> plugin = new CullSweepPlugin;
        ZqPointer<ZqPluginInfo> info = plugin->MakeDefaultInfo();
        ZqPointer<ZqExecutionResult> result = plugin->Execute(info);
        EXPECT_EQ(result->GetRefCount(), 1u);
        return result->GetReturnCode();
    }

    RecordingPresenter m_recorder;
    std::vector<std::string> m_processed;
};

} // namespace

TEST_F(CullSweepTest, WithoutSceneDataShowsOneMessageAndFails) {
    EXPECT_EQ(Run(), ZqExecutionResult::RETURN_FAILURE);
    // One stop-icon box (style 0x10).
    EXPECT_EQ(m_recorder.shown, std::vector<std::string>{"box|Scene Graph Shared Data Missing|"
                                                         "The Remove Hidden Objects Process "
                                                         "Plug-in could not find the "
                                                         "ZqSceneGraphSharedData!|16"});
    EXPECT_TRUE(m_processed.empty());
}

TEST_F(CullSweepTest, ZeroRootsSucceedsWithoutRemoving) {
    ZqSharedDataList::GetInstance()->Insert(new ZqSceneGraphSharedData);
    EXPECT_EQ(Run(), ZqExecutionResult::RETURN_SUCCESS);
    EXPECT_TRUE(m_processed.empty());
    EXPECT_TRUE(m_recorder.shown.empty());
}

TEST_F(CullSweepTest, ProcessesEveryRootOnceInOrder) {
    ZqPointer<ZqSceneGraphSharedData> scene = new ZqSceneGraphSharedData;
    for (const char* name : {"first", "second", "third"}) {
        scene->AddRoot(NewRootWithHiddenChild(name));
    }
    ZqSharedDataList::GetInstance()->Insert(scene);
    EXPECT_EQ(Run(), ZqExecutionResult::RETURN_SUCCESS);
    EXPECT_EQ(m_processed, (std::vector<std::string>{"first", "second", "third"}));
    for (unsigned i = 0; i < 3; ++i) {
        ASSERT_EQ(scene->GetRootAt(i)->GetChildCount(), 1u);
        EXPECT_STREQ(scene->GetRootAt(i)->GetAt(0)->GetName(), "shown");
    }
}

TEST(CullSweepPlugin, IdentityAndAcceptance) {
    ZqPointer<CullSweepPlugin> plugin = new CullSweepPlugin;
    EXPECT_STREQ(plugin->GetName(), "Remove Hidden Objects Plug-in");
    EXPECT_STREQ(plugin->GetVersion(), "1.0");
    EXPECT_STREQ(plugin->GetShortDescription(), "A plug-in to remove all hidden objects");
    EXPECT_STREQ(plugin->GetLongDescription(), "A plug-in to remove all hidden objects.");
    EXPECT_STREQ(plugin->GetRTTI()->GetName(), "CullSweepPlugin");
    EXPECT_EQ(plugin->GetRTTI()->GetBaseRTTI(), &ZqPlugin::m_RTTI);

    ZqPointer<ZqPluginInfo> info = plugin->MakeDefaultInfo();
    EXPECT_STREQ(info->GetName(), "Remove Hidden Objects Plug-in");
    EXPECT_STREQ(info->GetClassName(), "CullSweepPlugin");
    EXPECT_STREQ(info->GetType(), "PROCESS");
    EXPECT_TRUE(plugin->CanExecute(info));
    info->SetVersion("2.0");
    EXPECT_FALSE(plugin->CanExecute(info));
    info->SetVersion("1.0");
    info->SetClassName("cullsweepplugin");
    EXPECT_FALSE(plugin->CanExecute(info));
    EXPECT_FALSE(plugin->HasOptionsDialog());
}

TEST(CullSweepModule, RegistersEveryKeyLoaderInOrderThenTheStaticData) {
    const std::vector<std::string> expected = {
        "ZqFloatKey",    "ZqBezFloatKey", "ZqPosKey",       "ZqBezPosKey",    "ZqRotKey",
        "ZqBezRotKey",   "ZqBoolKey",     "ZqColorKey",     "ZqEulerRotKey",  "ZqLinColorKey",
        "ZqLinFloatKey", "ZqLinPosKey",   "ZqLinRotKey",    "ZqTCBPosKey",    "ZqTCBRotKey",
        "ZqTCBFloatKey", "ZqStepBoolKey", "ZqStepColorKey", "ZqStepFloatKey", "ZqStepPosKey",
        "ZqStepRotKey",  "ZqAnimationSDM"};
    std::vector<std::string> logged;
    for (unsigned i = 0; i < ZqAnimationLogCount(); ++i) {
        logged.push_back(ZqAnimationLogAt(i));
    }
    EXPECT_EQ(logged, expected);
}

TEST(CullSweepModule, AppendsOnePluginHeldOnlyByTheArray) {
    ZqPluginArray plugins;
    GetPlugins(plugins);
    ASSERT_EQ(plugins.GetSize(), 1u);
    EXPECT_STREQ(plugins.GetAt(0)->GetRTTI()->GetName(), "CullSweepPlugin");
    EXPECT_EQ(plugins.GetAt(0)->GetRefCount(), 1u);
    GetPlugins(plugins); // each call appends fresh objects
    ASSERT_EQ(plugins.GetSize(), 2u);
    EXPECT_NE(plugins.GetAt(0), plugins.GetAt(1));
    EXPECT_EQ(GetCompilerVersion(), 1310);
}
