#include "ZqBatchExecutionResult.h"
#include "ZqSceneGraphSharedData.h"
#include "ZqSharedDataList.h"
#include "ZqViewerPlugin.h"

#include <gtest/gtest.h>

namespace {

class VersionedPlugin : public ZqPlugin {
public:
    explicit VersionedPlugin(const char* version) : ZqPlugin("P", version, "s", "l") {}
    bool CanExecute(ZqPluginInfo*) override { return false; }
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo*) override { return nullptr; }
    ZqPluginInfo* MakeDefaultInfo() override { return nullptr; }
    using ZqPlugin::GetSharedData;
    using ZqPlugin::VerifyVersionString;
};

class RecordingViewer : public ZqViewerPlugin {
public:
    RecordingViewer() : ZqViewerPlugin("V", "1.0", "s", "l") {}
    bool CanView(ZqViewerPluginInfo* info) override {
        ++canViewCalls;
        return info->GetName() == "accepted";
    }
    ZqPointer<ZqExecutionResult> View(const ZqViewerPluginInfo*) override {
        ++viewCalls;
        return new ZqExecutionResult(ZqExecutionResult::RETURN_SUCCESS);
    }
    bool SupportsRenderer(ZqPluginToolkitRenderer) override { return false; }
    ZqPluginInfo* MakeDefaultInfo() override { return nullptr; }
    int canViewCalls = 0;
    int viewCalls = 0;
};

} // namespace

TEST(ZqPlugin, VerifyVersionStringAcceptsSameMajorNoNewerMinor) {
    struct Case {
        const char* plugin;
        const char* step;
        bool accepted;
    } cases[] = {
        {"1.0", "1.0", true},
        {"1.0", "1", true},
        {"1.0", "1.00", true},
        {"1.0", "1.1", false},
        {"1.0", "2.0", false},
        {"1.0", "0.9", false},
        {"1.2", "1.1", true},
        {"1.2", "1.3", false},
        {"1.1", "1.10", false},
        {"1.0", "", false},
        {"1.0", "1.", false},
        {"1.0", ".1", false},
        {"1.0", "1.0.0", false},
        {"1.0", "v1.0", false},
        {"1.0", " 1.0", false},
        {"1.0", nullptr, false},
        {"1.0", "99999999999.0", false},
        {"bad", "1.0", false},
    };
    for (const Case& c : cases) {
        VersionedPlugin plugin(c.plugin);
        EXPECT_EQ(plugin.VerifyVersionString(c.step), c.accepted)
            << c.plugin << " vs " << (c.step ? c.step : "null");
    }
}

TEST(ZqPlugin, ToolkitDefaults) {
    ZqPointer<VersionedPlugin> plugin = new VersionedPlugin("1.0");
    EXPECT_FALSE(plugin->HasOptionsDialog());
    EXPECT_FALSE(plugin->ShowOptionsDialog(nullptr, nullptr));
    EXPECT_TRUE(plugin->CanCreateDefaultInstance());
    EXPECT_STREQ(plugin->GetAbsolutePluginPath(), "");
    plugin->SetAbsolutePluginPath("/opt/plugins/");
    EXPECT_STREQ(plugin->GetAbsolutePluginPath(), "/opt/plugins/");
    EXPECT_STREQ(plugin->GetRTTI()->GetName(), "ZqPlugin");
}

TEST(ZqPlugin, GetSharedDataFindsTheHostsDataByType) {
    EXPECT_EQ(VersionedPlugin::GetSharedData(&ZqSceneGraphSharedData::m_RTTI), nullptr);
    ZqPointer<ZqSceneGraphSharedData> scene = new ZqSceneGraphSharedData;
    ZqSharedDataList::GetInstance()->Insert(scene);
    EXPECT_EQ(VersionedPlugin::GetSharedData(&ZqSceneGraphSharedData::m_RTTI), scene);
    EXPECT_EQ(VersionedPlugin::GetSharedData(&ZqSharedData::m_RTTI), scene);
    ZqSharedDataList::GetInstance()->Insert(new ZqSceneGraphSharedData);
    EXPECT_NE(VersionedPlugin::GetSharedData(&ZqSceneGraphSharedData::m_RTTI), scene);
    EXPECT_EQ(scene->GetRefCount(), 1u); // the replaced entry was released
    ZqSharedDataList::GetInstance()->RemoveAll();
    EXPECT_EQ(VersionedPlugin::GetSharedData(&ZqSceneGraphSharedData::m_RTTI), nullptr);
}

TEST(ZqViewerPlugin, ExecutesExactlyWhatCanViewAccepts) {
    ZqPointer<RecordingViewer> viewer = new RecordingViewer;
    ZqPointer<ZqViewerPluginInfo> accepted = new ZqViewerPluginInfo(ZQ_RENDERER_DEFAULT);
    accepted->SetName("accepted");
    ZqPointer<ZqViewerPluginInfo> refused = new ZqViewerPluginInfo(ZQ_RENDERER_DEFAULT);
    refused->SetName("refused");
    ZqPointer<ZqPluginInfo> plain = new ZqPluginInfo;
    plain->SetName("accepted");

    // SupportsRenderer says false for everything, yet CanView alone decides.
    EXPECT_TRUE(viewer->CanExecute(accepted));
    EXPECT_FALSE(viewer->CanExecute(refused));
    EXPECT_FALSE(viewer->CanExecute(plain));
    EXPECT_FALSE(viewer->CanExecute(nullptr));
    EXPECT_EQ(viewer->canViewCalls, 2);

    ZqPointer<ZqExecutionResult> result = viewer->Execute(accepted);
    EXPECT_EQ(result->GetReturnCode(), ZqExecutionResult::RETURN_SUCCESS);
    EXPECT_EQ(result->GetRefCount(), 1u);
    EXPECT_EQ(viewer->viewCalls, 1);
    EXPECT_EQ(viewer->Execute(plain)->GetReturnCode(), ZqExecutionResult::RETURN_FAILURE);
    EXPECT_EQ(viewer->viewCalls, 1);
}

TEST(ZqBatchExecutionResult, SucceedsOnlyWhenEveryStepDid) {
    ZqPointer<ZqBatchExecutionResult> batch = new ZqBatchExecutionResult;
    EXPECT_TRUE(batch->WasSuccessful());
    batch->AddResult(new ZqExecutionResult(ZqExecutionResult::RETURN_SUCCESS));
    EXPECT_TRUE(batch->WasSuccessful());
    batch->AddResult(nullptr); // a step that gave no result failed
    EXPECT_FALSE(batch->WasSuccessful());
    EXPECT_EQ(batch->GetResultCount(), 2u);
    EXPECT_EQ(batch->GetResultAt(5), nullptr);
}
