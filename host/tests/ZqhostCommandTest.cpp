// Runs the built zqhost as a user would and checks what it prints and returns.
#include "CopiedModules.h"
#include "RunProgram.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

namespace {

const std::string kBuild = ZQ_BUILD_DIR;
const std::string kExamples = std::string(ZQ_SOURCE_DIR) + "/examples";

const char* const kRemoveHiddenStep =
    R"({"name": "Remove Hidden Objects Plug-in", "version": "1.0",
        "class": "CullSweepPlugin", "type": "PROCESS"})";

ProgramOutcome Zqhost(const ScratchFolder& folder, const std::string& arguments) {
    return RunProgram(folder, kBuild + "/bin/zqhost " + arguments);
}

std::string Script(const std::string& steps) {
    return "{\"steps\": [" + steps + "]}";
}

// The texture report over `scene`, its dialog saved in `dialogs`.
ProgramOutcome RunTextureReport(const ScratchFolder& folder, const std::string& scene,
                                const std::string& dialogs) {
    std::string script =
        folder.Write("s.json", Script(R"({"name": "Texture Analyzer", "version": "1.0",
                             "class": "ZqImageTallyPlugin", "type": "PROCESS"})"));
    return Zqhost(folder, "run " + script + " --scene " + scene + " --save-dialogs " + dialogs);
}

} // namespace

const char* const kListing =
    "CullSweep.so\tRemove Hidden Objects Plug-in\t1.0\tCullSweepPlugin\tPROCESS\n"
    "ImageTally.so\tTexture Analyzer\t1.0\tZqImageTallyPlugin\tPROCESS\n"
    "MotionLens.so\tKFM Viewer\t1.0\tMotionLensPlugin\tViewer\n"
    "RetiredStubs.so\tTexture Swizzle\t0.0\tDeprecatedProcessPlugin\t-\n"
    "RetiredStubs.so\tPS2 Viewer\t0.0\tDeprecatedViewerPlugin\t-\n"
    "RetiredStubs.so\tXbox Viewer\t0.0\tDeprecatedViewerPlugin\t-\n"
    "ZqExporters.so\tController Extractor\t1.1\tZqControllerExtractorPlugin\tEXPORT\n"
    "ZqExporters.so\tZQF Exporter\t1.0\tZqfExportPlugin\tEXPORT\n";

TEST(Zqhost, ListsPluginsWithTabs) {
    ScratchFolder folder;
    ProgramOutcome outcome = Zqhost(folder, "plugins");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, kListing);
    // RetiredStubs has no GetCompilerVersion, and that is no reason to warn.
    EXPECT_EQ(outcome.err, "");
}

TEST(Zqhost, ModulesCopiedAloneIntoAFolderLoadAndRunFromThere) {
    // Nothing beside the folder: the modules find the engine in the host.
    ScratchFolder folder;
    std::string plugins = folder.Path("tools/plugins");
    CopyBuiltModules(plugins);
    ProgramOutcome listed = Zqhost(folder, "plugins --plugins " + plugins);
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, kListing);
    EXPECT_EQ(listed.err, "");

    ProgramOutcome ran = Zqhost(folder, "run " + kExamples + "/remove-hidden.json --scene " +
                                            kExamples + "/scene.json --plugins " + plugins);
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.err, "step 1: Remove Hidden Objects Plug-in (CullSweepPlugin): SUCCESS\n"
                       "step 2: Texture Analyzer (ZqImageTallyPlugin): SUCCESS\n");
}

TEST(Zqhost, OldScriptNamingWithdrawnPluginsStillRuns) {
    ScratchFolder folder;
    ProgramOutcome outcome = Zqhost(folder, "run " + kExamples + "/old-pipeline.json --scene " +
                                                kExamples + "/scene.json");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    // A placeholder's line says what the placeholder tells the user.
    const std::string placeholder = " (a placeholder: This class has been deprecated by Quorvel. "
                                    "Please remove this plug-in from your script.)\n";
    EXPECT_EQ(outcome.err, "step 1: Texture Swizzle (TextureSwizzlePlugin): SUCCESS" + placeholder +
                               "step 2: Remove Hidden Objects Plug-in (CullSweepPlugin): SUCCESS\n"
                               "step 3: PS2 Viewer (PS2ViewerPlugin): SUCCESS" +
                               placeholder + "step 4: xbox viewer (XboxViewerPlugin): SUCCESS" +
                               placeholder);
}

TEST(Zqhost, OptionsDialogByNameInAnyCase) {
    ScratchFolder folder;
    ProgramOutcome shown = Zqhost(folder, "options \"ps2 VIEWER\"");
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.err, "[PS2 Viewer] This class has been deprecated by Quorvel.\n"
                         "Please remove this plug-in from your script.\n");
    ProgramOutcome none = Zqhost(folder, "options \"Remove Hidden Objects Plug-in\"");
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "zqhost: Remove Hidden Objects Plug-in has no options dialog\n");
    ProgramOutcome unknown = Zqhost(folder, "options Nobody");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "zqhost: no plug-in is named \"Nobody\"\n");
}

TEST(Zqhost, RemovesHiddenObjectsFromTheDemoScene) {
    ScratchFolder folder;
    std::string saved = folder.Path("after.json");
    ProgramOutcome outcome = Zqhost(folder, "run " + kExamples + "/remove-hidden.json --scene " +
                                                kExamples + "/scene.json --save-scene " + saved);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "step 1: Remove Hidden Objects Plug-in (CullSweepPlugin): SUCCESS\n"
                           "step 2: Texture Analyzer (ZqImageTallyPlugin): SUCCESS\n");
    EXPECT_EQ(outcome.out.rfind("Texture Analysis Results:\nZqSourceTexture Object: \"sky.hdr\" "
                                "(64 x 32)\r\r\n",
                                0),
              0u);
    ProgramOutcome shown = Zqhost(folder, "scene " + saved);
    EXPECT_EQ(shown.out.substr(0, shown.out.find("texture ")),
              "Level\n  Terrain\n  Buildings\n    Tower\n    Hall\n      HallFloor\n"
              "Characters\n  Hero\nSky\n9 objects\n");
}

TEST(Zqhost, WithoutASceneTheStepFailsWithItsMessage) {
    ScratchFolder folder;
    std::string script = folder.Write("s.json", Script(kRemoveHiddenStep));
    std::string dialogs = folder.Path("dialogs");
    ProgramOutcome outcome = Zqhost(folder, "run " + script + " --save-dialogs " + dialogs);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              "[Scene Graph Shared Data Missing] The Remove Hidden Objects Process Plug-in could "
              "not find the ZqSceneGraphSharedData!\n"
              "step 1: Remove Hidden Objects Plug-in (CullSweepPlugin): FAILURE\n");
    EXPECT_EQ(ReadText(dialogs + "/message-1.txt"),
              "Scene Graph Shared Data Missing\nThe Remove Hidden Objects Process Plug-in could "
              "not find the ZqSceneGraphSharedData!");
}

TEST(Zqhost, StepsNoPluginAcceptsFailTheRunButEveryStepRuns) {
    ScratchFolder folder;
    std::string script = folder.Write(
        "s.json",
        Script(std::string(R"({"name": "Old", "version": "1.0", "class": "cullsweepplugin",
                                         "type": "PROCESS"}, )") +
               kRemoveHiddenStep));
    std::string scene = folder.Write("scene.json", R"({"roots": []})");
    ProgramOutcome outcome = Zqhost(folder, "run " + script + " --scene " + scene);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "step 1: Old (cullsweepplugin): no plug-in accepts this step\n"
                           "  Remove Hidden Objects Plug-in (CullSweepPlugin, CullSweep.so) takes "
                           "the class \"CullSweepPlugin\", not \"cullsweepplugin\"\n"
                           "step 2: Remove Hidden Objects Plug-in (CullSweepPlugin): SUCCESS\n");
}

TEST(Zqhost, BadInputsEndInOneClearMessageAndStatusTwo) {
    ScratchFolder folder;
    std::string good = folder.Write("good.json", Script(kRemoveHiddenStep));
    std::string broken = folder.Write("broken.json", "{\"steps\": [");
    std::string badScene = folder.Write("scene.json", "{\"roots\": [{\"name\": 1}]}");
    std::string nul = folder.Write(
        "nul.json", Script(R"({"name": "Remove Hidden Objects Plug-in", "version": "1.0",
                               "class": "CullSweepPlugin\u0000Old", "type": "PROCESS"})"));
    struct Case {
        std::string arguments;
        std::string message;
    } cases[] = {
        {"run " + broken, broken + ": not valid JSON"},
        {"run " + folder.Path("absent.json"), folder.Path("absent.json") + ": cannot be read"},
        {"run " + good + " --registry " + folder.Path("none.reg"),
         folder.Path("none.reg") + ": cannot be read (No such file or directory)"},
        {"run " + good + " --registry " + folder.Root().string(),
         folder.Root().string() + ": is a folder"},
        {"run " + good + " --scene " + badScene, badScene + ": roots[0]: \"name\" must be"},
        {"run " + nul, nul + ": steps[0]: \"class\" holds a NUL character\n"},
        {"run " + good + " --scene " + folder.Path(""), ": is a folder, not a file\n"},
        {"run " + good + " --plugins " + folder.Path("nowhere"),
         "plug-in folder " + folder.Path("nowhere") + " does not exist"},
        {"plugins --plugins " + folder.Path("nowhere"), "does not exist"},
        {"run", "run takes 1 argument"},
        {"", "no command given"},
    };
    for (const Case& c : cases) {
        ProgramOutcome outcome = Zqhost(folder, c.arguments);
        EXPECT_EQ(outcome.status, 2) << c.arguments;
        EXPECT_EQ(outcome.err.rfind("zqhost: ", 0), 0u) << outcome.err;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find("step 1"), std::string::npos) << "no step may run";
    }
}

TEST(Zqhost, TextureReportOverTheScenesTextures) {
    ScratchFolder folder;
    std::string scene = folder.Write("scene.json", R"({"roots": [], "textures": [
        {"class": "ZqRenderedTexture", "width": 64, "height": 32},
        {"class": "ZqSourceTexture", "file": "far.dds", "external": true, "width": 256, "height": 256},
        {"class": "ZqSourceTexture", "file": "big.tga", "width": 8, "height": 8, "pixelData": {
         "format": 1, "bitsPerPixel": 32, "masks": [16711680, 65280, 255, 4278190080],
         "palette": false, "mipmaps": 4, "bytes": 3221225472}},
        {"class": "ZqSourceCubeMap", "file": "cube.dds", "width": 8, "height": 8, "pixelData": {
         "format": 12, "bitsPerPixel": 16, "masks": [63488, 2016, 31, 0], "palette": true,
         "bytes": 2147483648}}]})");
    std::string dialogs = folder.Path("dialogs");
    ProgramOutcome outcome = RunTextureReport(folder, scene, dialogs);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string report =
        "ZqRenderedTexture Object: (64 x 32)\r\r\n"
        "\r\r\n"
        "ZqSourceTexture Object: \"far.dds\" (256 x 256)\r\r\n"
        "     External Texture\r\r\n"
        "ZqSourceTexture Object: \"big.tga\" (8 x 8)\r\r\n"
        "     Pixel Format: RGBA (Bits Per Pixel: 32)\r\r\n"
        "     Pixel Mask:   A8R8G8B8\r\r\n"
        "     Palette Exists: false\r\r\n"
        "     Total Size: 3145728.000000 kb\r\r\n"
        "     MipMap Levels: 4\r\r\n"
        "\r\r\n"
        "ZqSourceCubeMap Object: \"cube.dds\" (8 x 8)\r\r\n"
        "     Pixel Format: Unknown Format #12 (Bits Per Pixel: 16)\r\r\n"
        "     Pixel Mask:   R5G6B5A0\r\r\n"
        "     Palette Exists: true\r\r\n"
        "     Total Size: 2097152.000000 kb\r\r\n"
        "     MipMap Levels: 1\r\r\n"
        "\r\r\n"
        "================================================================\r\r\n"
        "Total Known Texture Size:                         5120.000000 MB\r\r\n";
    EXPECT_EQ(ReadText(dialogs + "/dialog-1.txt"), report);
    EXPECT_EQ(outcome.out, "Texture Analysis Results:\n" + report + "\n");

    // Without a scene the report fails silently.
    ProgramOutcome bare = Zqhost(folder, "run " + folder.Path("s.json"));
    EXPECT_EQ(bare.status, 1);
    EXPECT_EQ(bare.out, "");
    EXPECT_EQ(bare.err, "step 1: Texture Analyzer (ZqImageTallyPlugin): FAILURE\n");
}

TEST(Zqhost, HelpAndVersionOnStandardOutput) {
    ScratchFolder folder;
    ProgramOutcome all = Zqhost(folder, "--help");
    EXPECT_EQ(all.status, 0);
    for (const char* usage : {"zqhost plugins [--plugins DIR]", "zqhost run SCRIPT",
                              "zqhost options NAME", "zqhost scene FILE", "--version"}) {
        EXPECT_NE(all.out.find(usage), std::string::npos) << usage;
    }
    ProgramOutcome run = Zqhost(folder, "help run");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("--save-scene FILE"), std::string::npos);
    EXPECT_EQ(run.out.find("zqhost scene FILE"), std::string::npos) << "run's help alone";
    EXPECT_EQ(Zqhost(folder, "run script.json --help").out, run.out);

    ProgramOutcome version = Zqhost(folder, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("zqhost ", 0), 0u);
    EXPECT_NE(version.out.find_first_of("0123456789"), std::string::npos) << version.out;

    ProgramOutcome unknown = Zqhost(folder, "help nothing");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.rfind("zqhost: no command \"nothing\"\n", 0), 0u) << unknown.err;
}

TEST(Zqhost, AWorkingFolderThatIsGoneEndsInOneLineNotAnAbort) {
    ScratchFolder folder;
    std::string script = kExamples + "/remove-hidden.json";
    std::string scene = kExamples + "/scene.json";
    std::string gone = "mkdir gone && cd gone && rmdir ../gone && ";
    ProgramOutcome shown = RunProgram(folder, "cd " + folder.Root().string() + " && " + gone +
                                                  kBuild + "/bin/zqhost scene ../scene.json");
    EXPECT_EQ(shown.status, 2);
    EXPECT_EQ(shown.err, "zqhost: ../scene.json: cannot be read (No such file or directory)\n");
    ProgramOutcome saved = RunProgram(folder, "cd " + folder.Root().string() + " && " + gone +
                                                  kBuild + "/bin/zqhost run " + script +
                                                  " --scene " + scene + " --save-scene out.json");
    EXPECT_EQ(saved.status, 1);
    EXPECT_NE(saved.err.find("\nzqhost: out.json: cannot be found from the working folder (No "
                             "such file or directory)\n"),
              std::string::npos)
        << saved.err;
}

// An address-space limit would fall on the sanitizer's shadow memory, and in
// 32-bit builds on qemu, which runs them, rather than on zqhost.
#if !defined(__SANITIZE_ADDRESS__) && UINTPTR_MAX > 0xFFFFFFFFu
TEST(Zqhost, RunningOutOfMemoryWhileReadingNamesTheFile) {
    ScratchFolder folder;
    std::string big = folder.Write("big.json", "{\"steps\": [], \"pad\": \"" +
                                                   std::string(64 << 20, 'a') + "\"}");
    ProgramOutcome outcome =
        RunProgram(folder, "ulimit -v 100000 && " + kBuild + "/bin/zqhost run " + big);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "zqhost: " + big + ": out of memory while reading\n");
}
#endif

TEST(Zqhost, TextFromTheSceneReachesTheTerminalEscapedAndTheSavedDialogAsShown) {
    ScratchFolder folder;
    std::string scene = folder.Write("scene.json", R"({"roots": [{"name": "Hero\u001b[2J"}],
        "textures": [{"class": "ZqSourceTexture", "file": "far\rnear.dds", "external": true,
                      "width": 4, "height": 4}]})");
    ProgramOutcome shown = Zqhost(folder, "scene " + scene);
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, "Hero\\x1B[2J\n1 object\n"
                         "texture ZqSourceTexture 4 x 4 \"far\\x0Dnear.dds\"\n");

    std::string dialogs = folder.Path("dialogs");
    ProgramOutcome ran = RunTextureReport(folder, scene, dialogs);
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_NE(ran.out.find("ZqSourceTexture Object: \"far\\x0Dnear.dds\" (4 x 4)\r\r\n"),
              std::string::npos)
        << ran.out;
    EXPECT_NE(ReadText(dialogs + "/dialog-1.txt")
                  .find("ZqSourceTexture Object: \"far\rnear.dds\" (4 x 4)\r\r\n"),
              std::string::npos);
}

TEST(Zqhost, ASaveThatCannotBeWrittenLeavesTheOldFileWhole) {
    // Saved over the input, under a file size limit smaller than the scene.
    ScratchFolder folder;
    std::string roots;
    for (int i = 0; i < 200; ++i) {
        roots += std::string(i ? ", " : "") + "{\"name\": \"Root" + std::to_string(i) + "\"}";
    }
    std::string scene = folder.Write("scene.json", "{\"roots\": [" + roots + "]}");
    std::string before = ReadText(scene);
    ASSERT_GT(before.size(), 4096u);
    std::string script = folder.Write("s.json", Script(kRemoveHiddenStep));
    ProgramOutcome outcome =
        RunProgram(folder, "ulimit -f 2 && " + kBuild + "/bin/zqhost run " + script + " --scene " +
                               scene + " --save-scene " + scene);
    EXPECT_EQ(outcome.status, 1) << "a limit that killed the process would give -1";
    EXPECT_EQ(outcome.err, "step 1: Remove Hidden Objects Plug-in (CullSweepPlugin): SUCCESS\n"
                           "zqhost: " +
                               scene + ": cannot be written (File too large)\n");
    EXPECT_EQ(ReadText(scene), before);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Root())) {
        EXPECT_EQ(entry.path().string().find(".zqhost-partial"), std::string::npos) << entry;
    }

    // Saved where it can be: whole, and read back the same.
    ProgramOutcome saved = Zqhost(folder, "run " + script + " --scene " + scene + " --save-scene " +
                                              folder.Path("after.json"));
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(Zqhost(folder, "scene " + folder.Path("after.json")).out,
              Zqhost(folder, "scene " + scene).out);
}
