// A viewer step end to end: zqhost runs MotionLens, whose nested script runs
// the stand-in exporters, and a real viewer program is started on the KFM file.
#include "CopiedModules.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

class ViewerStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        // An artist's layout: the modules alone in tools/plugins, data in Data/.
        m_plugins = m_folder.Root() / "app" / "tools" / "plugins";
        CopyBuiltModules(m_plugins);
        m_data = m_folder.Root() / "app" / "Data";
        m_args = m_folder.Path("viewer-args.txt");
        std::string viewer =
            m_folder.Write("viewer.sh", "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + m_args +
                                            ".part\nmv " + m_args + ".part " + m_args + "\n");
        chmod(viewer.c_str(), 0755);
        m_registry = m_folder.Write(
            "registry.reg", "Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\n@=\"" +
                                viewer + " %1\"\n");
        m_script = m_folder.Write("view.json", R"({"steps": [{"name": "KFM Viewer",
            "version": "1.0", "class": "MotionLensPlugin", "type": "Viewer", "renderer": 5}]})");
        m_scene = m_folder.Write("scene.json", R"({"roots": [{"name": "Hero", "children": []}]})");
    }

    int Run(const std::string& extra, std::string& err) {
        ProgramOutcome outcome = RunProgram(
            m_folder, std::string(ZQ_BUILD_DIR) + "/bin/zqhost run " + m_script + " --plugins '" +
                          m_plugins.string() + "' --registry " + m_registry + " " + extra);
        err = outcome.err;
        return outcome.status;
    }

    ScratchFolder m_folder;
    fs::path m_plugins;
    fs::path m_data;
    std::string m_args;
    std::string m_registry;
    std::string m_script;
    std::string m_scene;
};

} // namespace

TEST_F(ViewerStepTest, ViewerReceivesTheExportedKfmPath) {
    fs::create_directories(m_data);
    std::string err;
    EXPECT_EQ(Run("--scene " + m_scene, err), 0) << err;
    // The step's line comes first, its nested steps under it, then its result.
    EXPECT_EQ(err, "step 1: KFM Viewer (MotionLensPlugin)\n"
                   "  step 1: Controller Extractor (ZqControllerExtractorPlugin): SUCCESS\n"
                   "  step 2: ZQF Exporter (ZqfExportPlugin): SUCCESS\n"
                   "step 1: KFM Viewer (MotionLensPlugin): SUCCESS\n");
    std::string kfm = m_plugins.string() + "/../../Data/MOTIONLENSTEMP.KFM";
    for (int i = 0; i < 1000 && !fs::exists(m_args); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(ReadText(m_args), kfm + "\n");
    EXPECT_NE(ReadText(kfm).find("CreateKFM=TRUE\nTransDuration=0.100000\n"
                                 "CharacterNameInKFMFile=FALSE\n"),
              std::string::npos);
    EXPECT_EQ(ReadText((m_data / "MOTIONLENSTEMP.ZQF").string()), "Hero\n");
}

TEST_F(ViewerStepTest, FailedExportStartsNoViewer) {
    // Without a scene the scene-file export fails, so the whole step fails.
    fs::create_directories(m_data);
    std::string err;
    EXPECT_EQ(Run("", err), 1);
    EXPECT_EQ(err, "step 1: KFM Viewer (MotionLensPlugin)\n"
                   "  step 1: Controller Extractor (ZqControllerExtractorPlugin): SUCCESS\n"
                   "ZQF Exporter: no scene to export\n"
                   "  step 2: ZQF Exporter (ZqfExportPlugin): FAILURE\n"
                   "step 1: KFM Viewer (MotionLensPlugin): FAILURE\n");
    // Without the data folder nothing can be written at all, and each
    // exporter names the folder.
    fs::remove_all(m_data);
    EXPECT_EQ(Run("--scene " + m_scene, err), 1);
    std::string data = m_plugins.string() + "/../../Data";
    EXPECT_EQ(err, "step 1: KFM Viewer (MotionLensPlugin)\n"
                   "Controller Extractor: the folder " +
                       data +
                       " cannot be written (No such file or directory)\n"
                       "  step 1: Controller Extractor (ZqControllerExtractorPlugin): FAILURE\n"
                       "ZQF Exporter: the folder " +
                       data +
                       " cannot be written (No such file or directory)\n"
                       "  step 2: ZQF Exporter (ZqfExportPlugin): FAILURE\n"
                       "step 1: KFM Viewer (MotionLensPlugin): FAILURE\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(fs::exists(m_args));
}

TEST_F(ViewerStepTest, ARefusedStepSaysWhyThePluginsItNamesRefusedIt) {
    const std::string key = "HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command";
    const std::string viewer = "KFM Viewer (MotionLensPlugin, MotionLens.so) ";
    const std::string refused = "step 1: KFM Viewer (MotionLensPlugin): no plug-in accepts this "
                                "step\n  ";
    std::string empty = m_folder.Write("empty.reg", "Windows Registry Editor Version 5.00\n");
    std::string noDefault =
        m_folder.Write("no-default.reg", "Windows Registry Editor Version 5.00\n\n[" + key +
                                             "]\n\"other\"=\"viewer %1\"\n");
    std::string home = m_folder.Path("home");
    struct Case {
        std::string step;
        std::string options;
        std::string reason;
    } cases[] = {
        {R"("version": "2.0", "renderer": 5)", "--registry " + m_registry,
         "version 2.0 is newer than its own 1.0"},
        {R"("version": "0.5", "renderer": 5)", "--registry " + m_registry,
         "version 0.5 is older than its own 1.0"},
        {R"("version": "1.0")", "--registry " + m_registry,
         "is a viewer plug-in: it takes only viewer steps (steps with a \"renderer\")"},
        {R"("version": "1.0", "renderer": 5)", "--registry " + empty,
         "found no key " + key + " in " + empty},
        {R"("version": "1.0", "renderer": 5)", "--registry " + noDefault,
         "found the key " + key + " in " + noDefault + " without a default value"},
        {R"("version": "1.0", "renderer": 5)", "",
         "looked up " + key + ", but found no registry file at " + home +
             "/.config/zq/registry.reg"},
    };
    for (const Case& c : cases) {
        m_script = m_folder.Write("view.json", R"({"steps": [{"name": "KFM Viewer", "class":
            "MotionLensPlugin", "type": "Viewer", )" +
                                                   c.step + "}]}");
        std::string err;
        ProgramOutcome outcome =
            RunProgram(m_folder, "env -u ZQ_REGISTRY -u XDG_CONFIG_HOME HOME=" + home + " " +
                                     std::string(ZQ_BUILD_DIR) + "/bin/zqhost run " + m_script +
                                     " --plugins " + m_plugins.string() + " " + c.options);
        EXPECT_EQ(outcome.status, 1) << c.step;
        EXPECT_EQ(outcome.err, refused + viewer + c.reason + "\n") << c.step;
    }
}

TEST_F(ViewerStepTest, TheExamplesKeepAPathWithSpacesWholeAndReportWhenComplete) {
    // The artist's tools under a folder whose name holds a space.
    fs::path spaced = m_folder.Root() / "my tools";
    fs::rename(m_folder.Root() / "app", spaced);
    m_plugins = spaced / "tools" / "plugins";
    fs::create_directories(spaced / "Data");
    m_registry = std::string(ZQ_SOURCE_DIR) + "/examples/registry.reg";
    std::string log = m_folder.Path("viewer.log");
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (std::string(ZQ_SOURCE_DIR) + "/examples:" + path).c_str(), 1);
    setenv("ZQ_VIEWER_LOG", log.c_str(), 1);
    std::string err;
    int status = Run("--scene " + m_scene, err);
    setenv("PATH", path.c_str(), 1);
    unsetenv("ZQ_VIEWER_LOG");
    EXPECT_EQ(status, 0) << err;

    // The first look at the report, as the demo takes it, finds it whole.
    for (int i = 0; i < 10000 && !fs::exists(log); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::string kfm = m_plugins.string() + "/../../Data/MOTIONLENSTEMP.KFM";
    std::string report = ReadText(log);
    EXPECT_EQ(report.rfind("KFM viewer opened: " + kfm + "\n  | KFM stand-in\n", 0), 0u) << report;
    EXPECT_NE(report.find("  | CharacterNameInKFMFile=FALSE\n"), std::string::npos) << report;
}

TEST_F(ViewerStepTest, TheWorkedExampleRunsEveryPlugin) {
    fs::create_directories(m_data);
    m_script = std::string(ZQ_SOURCE_DIR) + "/examples/every-plugin.json";
    std::string err;
    EXPECT_EQ(Run("--scene " + std::string(ZQ_SOURCE_DIR) + "/examples/scene.json", err), 0);
    EXPECT_EQ(err, "step 1: Remove Hidden Objects Plug-in (CullSweepPlugin): SUCCESS\n"
                   "step 2: Texture Analyzer (ZqImageTallyPlugin): SUCCESS\n"
                   "step 3: Texture Swizzle (TextureSwizzlePlugin): SUCCESS (a placeholder: This "
                   "class has been deprecated by Quorvel. Please remove this plug-in from your "
                   "script.)\n"
                   "step 4: KFM Viewer (MotionLensPlugin)\n"
                   "  step 1: Controller Extractor (ZqControllerExtractorPlugin): SUCCESS\n"
                   "  step 2: ZQF Exporter (ZqfExportPlugin): SUCCESS\n"
                   "step 4: KFM Viewer (MotionLensPlugin): SUCCESS\n");
    for (int i = 0; i < 1000 && !fs::exists(m_args); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(fs::exists(m_args));
}
