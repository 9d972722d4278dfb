#include "DeprecatedViewerPlugin.h"
#include "RecordingPresenter.h"
#include "ZqExportPlugin.h"
#include "ZqImportPlugin.h"
#include "ZqPlatform.h"
#include "ZqPluginModule.h"
#include "ZqSceneGraphSharedData.h"
#include "ZqSharedDataList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kDeprecation =
    "This class has been deprecated by Quorvel.\nPlease remove this plug-in from your script.";

ZqPointer<ZqPluginInfo> Step(const char* name, const char* className, bool viewer) {
    ZqPointer<ZqPluginInfo> info =
        viewer ? static_cast<ZqPluginInfo*>(new ZqViewerPluginInfo(ZQ_RENDERER_DEFAULT))
               : new ZqPluginInfo;
    info->SetName(name);
    info->SetClassName(className);
    info->SetVersion("7.3");
    return info;
}

class RetiredStubsTest : public ::testing::Test {
protected:
    void SetUp() override { GetPlugins(m_plugins); }
    ZqPlugin* Plugin(unsigned index) const { return m_plugins.GetAt(index); }
    ZqPluginArray m_plugins;
};

} // namespace

TEST_F(RetiredStubsTest, RegistersThreePlaceholdersInOrder) {
    const char* expected[][2] = {{"Texture Swizzle", "DeprecatedProcessPlugin"},
                                 {"PS2 Viewer", "DeprecatedViewerPlugin"},
                                 {"Xbox Viewer", "DeprecatedViewerPlugin"}};
    ASSERT_EQ(m_plugins.GetSize(), 3u);
    for (unsigned i = 0; i < 3; ++i) {
        EXPECT_STREQ(Plugin(i)->GetName(), expected[i][0]);
        EXPECT_STREQ(Plugin(i)->GetRTTI()->GetName(), expected[i][1]);
        EXPECT_STREQ(Plugin(i)->GetVersion(), "0.0");
        EXPECT_STREQ(Plugin(i)->GetShortDescription(), kDeprecation);
        EXPECT_STREQ(Plugin(i)->GetLongDescription(), kDeprecation);
        EXPECT_EQ(Plugin(i)->GetRefCount(), 1u);
        EXPECT_EQ(Plugin(i)->MakeDefaultInfo(), nullptr);
        EXPECT_FALSE(Plugin(i)->CanCreateDefaultInstance());
        EXPECT_TRUE(Plugin(i)->HasOptionsDialog());
    }
    EXPECT_EQ(Plugin(0)->GetRTTI()->GetBaseRTTI(), &ZqPlugin::m_RTTI);
    EXPECT_EQ(Plugin(1)->GetRTTI()->GetBaseRTTI(), &ZqViewerPlugin::m_RTTI);
}

TEST_F(RetiredStubsTest, AcceptsStepsByNameInAnyCaseOnly) {
    struct Case {
        unsigned plugin;
        const char* name;
        const char* className;
        bool viewer;
        bool accepted;
    } cases[] = {
        {0, "Texture Swizzle", "Anything", false, true},
        {0, "texture swizzle", "", false, true},
        {0, "TEXTURE SWIZZLE", "DeprecatedProcessPlugin", false, true},
        {0, "Texture Swizzler", "DeprecatedProcessPlugin", false, false},
        {0, "PS2 Viewer", "DeprecatedProcessPlugin", false, false},
        {1, "ps2 viewer", "Old", true, true},
        {1, "Xbox Viewer", "DeprecatedViewerPlugin", true, false},
        {2, "XBOX VIEWER", "x", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Plugin(c.plugin)->CanExecute(Step(c.name, c.className, c.viewer)), c.accepted)
            << c.name;
    }
}

TEST_F(RetiredStubsTest, RunsSucceedAndChangeNothing) {
    ZqPointer<ZqSceneGraphSharedData> scene = new ZqSceneGraphSharedData;
    ZqNode* root = new ZqNode("root");
    ZqAVObject* hidden = new ZqAVObject("hidden");
    hidden->SetAppCulled(true);
    root->AttachChild(hidden);
    scene->AddRoot(root);
    ZqSharedDataList::GetInstance()->Insert(scene);
    RecordingPresenter recorder;

    const char* names[] = {"Texture Swizzle", "PS2 Viewer", "Xbox Viewer"};
    for (unsigned i = 0; i < 3; ++i) {
        ZqPointer<ZqPluginInfo> step = Step(names[i], "", i > 0);
        ZqPointer<ZqExecutionResult> result = Plugin(i)->Execute(step);
        EXPECT_EQ(result->GetReturnCode(), ZqExecutionResult::RETURN_SUCCESS) << names[i];
        EXPECT_EQ(result->GetRefCount(), 1u);
    }
    ZqSharedDataList::GetInstance()->RemoveAll();
    EXPECT_EQ(scene->GetRootCount(), 1u);
    EXPECT_EQ(root->GetChildCount(), 1u);
    EXPECT_TRUE(hidden->GetAppCulled());
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(RetiredStubsTest, ViewersSupportNoRenderer) {
    for (unsigned i = 1; i < 3; ++i) {
        auto* viewer = static_cast<ZqViewerPlugin*>(Plugin(i));
        for (int renderer : {-1, 0, 1, 4, 5, 6, 1000}) {
            EXPECT_FALSE(viewer->SupportsRenderer(static_cast<ZqPluginToolkitRenderer>(renderer)));
        }
    }
}

TEST_F(RetiredStubsTest, OptionsDialogAsksToRemoveTheStep) {
    RecordingPresenter recorder;
    EXPECT_TRUE(Plugin(1)->ShowOptionsDialog(nullptr, nullptr));
    EXPECT_EQ(recorder.shown,
              std::vector<std::string>{std::string("box|PS2 Viewer|") + kDeprecation + "|16"});
}

TEST(RetiredStubsModule, ExportsGetPluginsOnly) {
    std::string error;
    ZqPlatform::Module* module = ZqPlatform::LoadModule(
        (std::string(ZQ_BUILD_DIR) + "/plugins/RetiredStubs" + ZqPlatform::ModuleSuffix()).c_str(),
        error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_NE(ZqPlatform::FindSymbol(module, "GetPlugins"), nullptr);
    EXPECT_EQ(ZqPlatform::FindSymbol(module, "GetCompilerVersion"), nullptr);
    ZqPlatform::UnloadModule(module);
}

TEST(RetiredStubsModule, BuildsFourTypeRecordsAtLoad) {
    unsigned before = ZqRTTI::GetBuiltCount();
    std::string error;
    ZqPlatform::Module* module = ZqPlatform::LoadModule(
        (std::string(ZQ_BUILD_DIR) + "/plugins/RetiredStubs" + ZqPlatform::ModuleSuffix()).c_str(),
        error);
    ASSERT_NE(module, nullptr) << error;
    struct Record {
        const char* name;
        const ZqRTTI* base;
    } expected[] = {{"DeprecatedExportPlugin", &ZqExportPlugin::m_RTTI},
                    {"DeprecatedImportPlugin", &ZqImportPlugin::m_RTTI},
                    {"DeprecatedProcessPlugin", &ZqPlugin::m_RTTI},
                    {"DeprecatedViewerPlugin", &ZqViewerPlugin::m_RTTI}};
    ASSERT_EQ(ZqRTTI::GetBuiltCount() - before, 4u);
    for (unsigned i = 0; i < 4; ++i) {
        const ZqRTTI* record = ZqRTTI::GetBuilt(before + i);
        EXPECT_STREQ(record->GetName(), expected[i].name);
        EXPECT_EQ(record->GetBaseRTTI(), expected[i].base) << expected[i].name;
    }
    // The placeholders answer with the last two.
    auto getPlugins =
        reinterpret_cast<void (*)(ZqPluginArray&)>(ZqPlatform::FindSymbol(module, "GetPlugins"));
    ASSERT_NE(getPlugins, nullptr);
    {
        ZqPluginArray plugins;
        getPlugins(plugins);
        ASSERT_EQ(plugins.GetSize(), 3u);
        EXPECT_EQ(plugins.GetAt(0)->GetRTTI(), ZqRTTI::GetBuilt(before + 2));
        EXPECT_EQ(plugins.GetAt(1)->GetRTTI(), ZqRTTI::GetBuilt(before + 3));
        EXPECT_EQ(plugins.GetAt(2)->GetRTTI(), ZqRTTI::GetBuilt(before + 3));
    }
    ZqPlatform::UnloadModule(module);
}
