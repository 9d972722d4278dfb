#include "MotionLensTestSupport.h"

TEST_F(MotionLensTest, IdentityAndDefaultInfo) {
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    EXPECT_STREQ(plugin->GetName(), "KFM Viewer");
    EXPECT_STREQ(plugin->GetVersion(), "1.0");
    EXPECT_STREQ(plugin->GetShortDescription(), "View KFM files using default viewer.");
    EXPECT_STREQ(plugin->GetLongDescription(), "View KFM files using default viewer.");
    EXPECT_STREQ(plugin->GetRTTI()->GetName(), "MotionLensPlugin");
    EXPECT_EQ(plugin->GetRTTI()->GetBaseRTTI(), &ZqViewerPlugin::m_RTTI);
    EXPECT_FALSE(plugin->HasOptionsDialog());
    EXPECT_FALSE(plugin->ShowOptionsDialog(nullptr, nullptr));

    ZqPointer<ZqPluginInfo> info = plugin->MakeDefaultInfo();
    ASSERT_EQ(info->GetRTTI(), &ZqViewerPluginInfo::m_RTTI);
    EXPECT_EQ(static_cast<ZqViewerPluginInfo*>(static_cast<ZqPluginInfo*>(info))->GetRenderer(), 5);
    EXPECT_STREQ(info->GetName(), "KFM Viewer");
    EXPECT_STREQ(info->GetVersion(), "1.0");
    EXPECT_STREQ(info->GetClassName(), "MotionLensPlugin");
    EXPECT_STREQ(info->GetType(), "Viewer");

    for (int renderer : {0, 4, 5, 6, -5}) {
        EXPECT_EQ(plugin->SupportsRenderer(static_cast<ZqPluginToolkitRenderer>(renderer)),
                  renderer == 5);
    }
}

TEST_F(MotionLensTest, CommandReadAtConstructionAndAgainOnlyWhileEmpty) {
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin; // no registry key yet
    ZqPointer<ZqViewerPluginInfo> step = ViewerStep("MotionLensPlugin", "1.0");
    EXPECT_FALSE(plugin->CanView(step));
    EXPECT_FALSE(plugin->CanExecute(step));

    RegisterViewer("first %1");
    EXPECT_TRUE(plugin->CanView(step)); // the key appeared: the same instance sees it
    RegisterViewer("second %1");
    EXPECT_TRUE(plugin->CanView(step));
    EXPECT_TRUE(plugin->LaunchViewer(Text(Path("a.KFM"))));
    EXPECT_EQ(m_launcher.commandLines.back(),
              "first " + Path("a.KFM")); // known commands are not re-read

    ZqPointer<MotionLensPlugin> fresh = new MotionLensPlugin;
    EXPECT_TRUE(fresh->LaunchViewer(Text(Path("a.KFM"))));
    EXPECT_EQ(m_launcher.commandLines.back(), "second " + Path("a.KFM"));
}

TEST_F(MotionLensTest, RefusedStepsDoNotReadTheRegistry) {
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    RegisterViewer("viewer %1");
    EXPECT_FALSE(plugin->CanView(ViewerStep("motionlensplugin", "1.0")));
    EXPECT_FALSE(plugin->CanView(ViewerStep("MotionLensPlugin", "2.0")));
    UnregisterViewer();
    // Had either refusal read the registry, the command would now be known.
    EXPECT_FALSE(plugin->LaunchViewer(Text(Path("a.KFM"))));
    EXPECT_TRUE(m_launcher.commandLines.empty());
}

TEST_F(MotionLensTest, SideFilesAreGoneWhenTheViewerStarts) {
    RegisterViewer("viewer.exe %1");
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    std::string stem = Path("MOTIONLENSTEMP");
    for (const char* suffix : {".set", ".map", "_Anim.h", ".KFM", ".other"}) {
        Touch(stem + suffix);
    }
    std::vector<bool> presentAtLaunch;
    m_launcher.onLaunch = [&] {
        for (const char* suffix : {".set", ".map", "_Anim.h", ".KFM", ".other"}) {
            presentAtLaunch.push_back(Exists(stem + suffix));
        }
    };
    EXPECT_TRUE(plugin->LaunchViewer(Text(stem + ".KFM")));
    EXPECT_EQ(presentAtLaunch, (std::vector<bool>{false, false, false, true, true}));
    EXPECT_EQ(m_launcher.commandLines, std::vector<std::string>{"viewer.exe " + stem + ".KFM"});
    EXPECT_EQ(m_launcher.showCommands, std::vector<int>{1});
}

TEST_F(MotionLensTest, StemIsCutAtTheLastDotWhereverItIs) {
    RegisterViewer("v %1");
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    std::filesystem::create_directories(m_folder.Root() / "dir.d");
    Touch(Path("dir.set"));
    Touch(Path("dir.d") + "/file.set");
    EXPECT_TRUE(plugin->LaunchViewer(Text(Path("dir.d") + "/file")));
    EXPECT_FALSE(Exists(Path("dir.set"))); // the stem stopped at the folder's dot
    EXPECT_TRUE(Exists(Path("dir.d") + "/file.set"));

    // Without any dot the stem is the whole path.
    std::string noDot = Path("nodot");
    ASSERT_EQ(noDot.find('.'), std::string::npos);
    Touch(noDot + ".set");
    EXPECT_TRUE(plugin->LaunchViewer(Text(noDot)));
    EXPECT_FALSE(Exists(noDot + ".set"));
    EXPECT_EQ(m_launcher.commandLines.back(), "v " + noDot);
}

TEST_F(MotionLensTest, StoredCommandKeepsItsPlaceholder) {
    RegisterViewer("\"C:\\Tools\\View.exe\" /open %1 /again %1");
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    EXPECT_TRUE(plugin->LaunchViewer("C:\\A\\one.KFM"));
    EXPECT_TRUE(plugin->LaunchViewer("C:\\B\\two words.KFM"));
    EXPECT_EQ(m_launcher.commandLines,
              (std::vector<std::string>{
                  "\"C:\\Tools\\View.exe\" /open C:\\A\\one.KFM /again C:\\A\\one.KFM",
                  "\"C:\\Tools\\View.exe\" /open C:\\B\\two words.KFM /again C:\\B\\two "
                  "words.KFM"}));
}

TEST_F(MotionLensTest, CommandWithoutPlaceholderStillDeletesSideFiles) {
    RegisterViewer("viewer.exe --empty");
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    Touch(Path("T.map"));
    EXPECT_TRUE(plugin->LaunchViewer(Text(Path("T.KFM"))));
    EXPECT_FALSE(Exists(Path("T.map")));
    EXPECT_EQ(m_launcher.commandLines, std::vector<std::string>{"viewer.exe --empty"});
}

TEST_F(MotionLensTest, NothingHappensWithoutCommandOrPath) {
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    Touch(Path("T.set"));
    EXPECT_FALSE(plugin->LaunchViewer(Text(Path("T.KFM"))));
    EXPECT_TRUE(Exists(Path("T.set")));
    RegisterViewer("viewer %1");
    ZqPointer<MotionLensPlugin> known = new MotionLensPlugin;
    EXPECT_FALSE(known->LaunchViewer(""));
    EXPECT_TRUE(m_launcher.commandLines.empty());
    EXPECT_TRUE(m_presenter.shown.empty());
}

TEST_F(MotionLensTest, EveryLaunchFailureIsFalseAndTheKnownOnesSaySo) {
    RegisterViewer("viewer %1");
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    const std::string caption = "box|KFM Viewer Error|";
    struct Case {
        int result;
        bool started;
        std::string box;
    } cases[] = {
        {0, false,
         caption + "Not enough system resources available\nto run KFM viewer executable.|16"},
        {2, false, caption + "Unable to find KFM viewer executable.|16"},
        {3, false, caption + "Unable to find KFM viewer executable.|16"},
        {11, false, caption + "Invalid KFM viewer executable.|16"},
        {1, false, ""},
        {5, false, ""},
        {31, false, ""},
        {32, true, ""},
        {33, true, ""},
    };
    for (const Case& c : cases) {
        m_presenter.shown.clear();
        m_launcher.result = c.result;
        EXPECT_EQ(plugin->LaunchViewer(Text(Path("x.KFM"))), c.started) << c.result;
        EXPECT_EQ(m_presenter.shown,
                  c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box})
            << c.result;
    }
}
