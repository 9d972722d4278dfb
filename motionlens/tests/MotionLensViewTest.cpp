#include "MotionLensTestSupport.h"
#include "ZqExportPluginInfo.h"
#include "ZqPluginManager.h"

namespace {

const std::string kSeparator(1, ZqPlatform::kPathSeparator);

// Records the scripts it is given and answers as told; can write the KFM
// file as the real export would.
class RecordingManager : public ZqPluginManager {
public:
    ZqPointer<ZqBatchExecutionResult> ExecuteScript(ZqScriptInfo* script, int flag) override {
        scripts.push_back(script);
        flags.push_back(flag);
        if (writeKfm) {
            writeKfm();
        }
        batch = new ZqBatchExecutionResult;
        batch->AddResult(new ZqExecutionResult(succeed ? ZqExecutionResult::RETURN_SUCCESS
                                                       : ZqExecutionResult::RETURN_FAILURE));
        return batch;
    }
    std::vector<ZqPointer<ZqScriptInfo>> scripts;
    std::vector<int> flags;
    ZqPointer<ZqBatchExecutionResult> batch;
    bool succeed = true;
    std::function<void()> writeKfm;
};

class MotionLensViewTest : public MotionLensTest {
protected:
    void SetUp() override {
        MotionLensTest::SetUp();
        m_previousManager = ZqPluginManager::GetInstance();
        ZqPluginManager::SetInstance(&m_manager);
        // The plug-in folder sits two levels below the data folder.
        std::filesystem::create_directories(m_folder.Root() / "tool" / "plugins");
        std::filesystem::create_directories(m_folder.Root() / "Data");
        m_pluginPath = (m_folder.Root() / "tool" / "plugins").string() + kSeparator;
        m_kfm = m_pluginPath + ".." + kSeparator + ".." + kSeparator + "Data" + kSeparator +
                "MOTIONLENSTEMP.KFM";
    }
    void TearDown() override {
        ZqPluginManager::SetInstance(m_previousManager);
        MotionLensTest::TearDown();
    }
    ZqPointer<MotionLensPlugin> MakePlugin() {
        ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
        plugin->SetAbsolutePluginPath(m_pluginPath.c_str());
        return plugin;
    }

    RecordingManager m_manager;
    ZqPluginManager* m_previousManager = nullptr;
    std::string m_pluginPath;
    std::string m_kfm;
};

std::string Describe(const ZqPluginInfo* info) {
    const auto* step = static_cast<const ZqExportPluginInfo*>(info);
    std::string text = std::string(info->GetRTTI()->GetName()) + "|" +
                       static_cast<const char*>(step->GetDirectory()) + "|" +
                       static_cast<const char*>(step->GetFile()) + "|" +
                       static_cast<const char*>(step->GetExtension()) + "|" +
                       static_cast<const char*>(info->GetName()) + "|" +
                       static_cast<const char*>(info->GetVersion()) + "|" +
                       static_cast<const char*>(info->GetClassName()) + "|" +
                       static_cast<const char*>(info->GetType());
    for (unsigned i = 0; i < info->GetParameterCount(); ++i) {
        text += std::string("|") + info->GetKeyAt(i) + "=" + info->GetValueAt(i);
    }
    return text;
}

} // namespace

TEST_F(MotionLensViewTest, BuildsTheTwoStepExportScript) {
    RegisterViewer("viewer %1");
    ZqPointer<MotionLensPlugin> plugin = MakePlugin();
    ZqPointer<ZqExecutionResult> result = plugin->View(ViewerStep("MotionLensPlugin", "1.0"));
    EXPECT_EQ(result->GetReturnCode(), ZqExecutionResult::RETURN_SUCCESS);
    ASSERT_EQ(m_manager.scripts.size(), 1u);
    EXPECT_EQ(m_manager.flags, std::vector<int>{0});
    ZqScriptInfo* script = m_manager.scripts[0];
    ASSERT_EQ(script->GetPluginInfoCount(), 2u);
    std::string folder = m_pluginPath + ".." + kSeparator + ".." + kSeparator + "Data" + kSeparator;
    EXPECT_EQ(Describe(script->GetPluginInfoAt(0)),
              "ZqExportPluginInfo|" + folder +
                  "|MOTIONLENSTEMP|.ZQF|Controller Extractor|1.1|ZqControllerExtractorPlugin|"
                  "EXPORT|SingleKF=TRUE|ExportedFileName=TRUE|CharacterName=TRUE|UpperCase=TRUE|"
                  "Separator=_|CreateKFM=TRUE|TransDuration=0.100000|CharacterNameInKFMFile=FALSE");
    EXPECT_EQ(Describe(script->GetPluginInfoAt(1)),
              "ZqExportPluginInfo|" + folder +
                  "|MOTIONLENSTEMP|.ZQF|ZQF Exporter|1.0|ZqfExportPlugin|EXPORT");
    EXPECT_EQ(m_launcher.commandLines,
              std::vector<std::string>{"viewer " + m_kfm}); // not normalised
}

TEST_F(MotionLensViewTest, ResultHoldsOneReferenceAndTheBatchIsReleased) {
    RegisterViewer("viewer %1");
    ZqPointer<MotionLensPlugin> plugin = MakePlugin();
    ZqPointer<ZqExecutionResult> result = plugin->View(nullptr);
    EXPECT_EQ(result->GetRefCount(), 1u);
    EXPECT_EQ(m_manager.batch->GetRefCount(), 1u); // only the recorder's own reference is left
}

TEST_F(MotionLensViewTest, DifferentInfosBuildIdenticalScripts) {
    RegisterViewer("viewer %1");
    ZqPointer<MotionLensPlugin> plugin = MakePlugin();
    plugin->View(ViewerStep("MotionLensPlugin", "1.0"));
    ZqPointer<ZqViewerPluginInfo> other = ViewerStep("Something", "9.9");
    other->AddParameter("Ignored", "yes");
    plugin->View(other);
    ASSERT_EQ(m_manager.scripts.size(), 2u);
    for (unsigned i = 0; i < 2; ++i) {
        EXPECT_TRUE(m_manager.scripts[0]->GetPluginInfoAt(i)->Equals(
            m_manager.scripts[1]->GetPluginInfoAt(i)));
    }
}

TEST_F(MotionLensViewTest, FailedExportStartsNothingAndLeavesNoStaleKfm) {
    RegisterViewer("viewer %1");
    ZqPointer<MotionLensPlugin> plugin = MakePlugin();
    Touch(m_kfm);
    Touch((m_folder.Root() / "Data" / "MOTIONLENSTEMP.set").string());
    m_manager.succeed = false;
    bool kfmPresentDuringExport = true;
    m_manager.writeKfm = [&] { kfmPresentDuringExport = Exists(m_kfm); };
    ZqPointer<ZqExecutionResult> result = plugin->View(nullptr);
    EXPECT_EQ(result->GetReturnCode(), ZqExecutionResult::RETURN_FAILURE);
    EXPECT_FALSE(kfmPresentDuringExport); // deleted before the export ran
    EXPECT_FALSE(Exists(m_kfm));
    EXPECT_TRUE(Exists(
        (m_folder.Root() / "Data" / "MOTIONLENSTEMP.set").string())); // no launch, no cleanup
    EXPECT_TRUE(m_launcher.commandLines.empty());
    EXPECT_TRUE(m_presenter.shown.empty());
}

TEST_F(MotionLensViewTest, SuccessfulExportWithoutViewerFailsSilently) {
    ZqPointer<MotionLensPlugin> plugin = MakePlugin();
    ZqPointer<ZqExecutionResult> result = plugin->View(nullptr);
    EXPECT_EQ(result->GetReturnCode(), ZqExecutionResult::RETURN_FAILURE);
    EXPECT_EQ(m_manager.scripts.size(), 1u);
    EXPECT_TRUE(m_launcher.commandLines.empty());
    EXPECT_TRUE(m_presenter.shown.empty());
}

TEST_F(MotionLensViewTest, ViewerThatDoesNotStartFailsTheStep) {
    RegisterViewer("viewer %1");
    ZqPointer<MotionLensPlugin> plugin = MakePlugin();
    m_launcher.result = 2;
    ZqPointer<ZqExecutionResult> result = plugin->View(nullptr);
    EXPECT_EQ(result->GetReturnCode(), ZqExecutionResult::RETURN_FAILURE);
    EXPECT_EQ(m_presenter.shown.size(), 1u);
}

TEST_F(MotionLensViewTest, WithoutAHostManagerTheStepFails) {
    ZqPluginManager::SetInstance(nullptr);
    RegisterViewer("viewer %1");
    ZqPointer<MotionLensPlugin> plugin = MakePlugin();
    unsigned objects = ZqRefObject::GetTotalObjectCount();
    EXPECT_EQ(plugin->View(nullptr)->GetReturnCode(), ZqExecutionResult::RETURN_FAILURE);
    EXPECT_EQ(ZqRefObject::GetTotalObjectCount(), objects);
    EXPECT_TRUE(m_launcher.commandLines.empty());
}
