#include "CommandLine.h"
#include "HostError.h"
#include "SceneFile.h"
#include "ScratchFolder.h"
#include "ScriptFile.h"
#include "ZqSourceTexture.h"
#include "ZqViewerPluginInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {
// The message a HostError carries, or "" when none was thrown.
template <class Action> std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const HostError& problem) {
        return problem.what();
    }
    return "";
}
} // namespace

TEST(ScriptFile, ReadsStepsInOrderWithParametersAndRenderer) {
    ScratchFolder folder;
    std::string path = folder.Write("script.json", R"({"steps": [
        {"name": "A", "version": "1.0", "class": "AClass", "type": "PROCESS",
         "parameters": [["z", "1"], ["a", "2"], ["z", "3"]]},
        {"name": "V", "version": "1.1", "class": "VClass", "type": "Viewer", "renderer": 5}]})");
    ZqPointer<ZqScriptInfo> script = ReadScriptFile(path);
    ASSERT_EQ(script->GetPluginInfoCount(), 2u);
    ZqPluginInfo* first = script->GetPluginInfoAt(0);
    EXPECT_EQ(first->GetRTTI(), &ZqPluginInfo::m_RTTI);
    EXPECT_STREQ(first->GetClassName(), "AClass");
    ASSERT_EQ(first->GetParameterCount(), 3u);
    EXPECT_STREQ(first->GetKeyAt(0), "z");
    EXPECT_STREQ(first->GetKeyAt(1), "a");
    EXPECT_STREQ(first->GetValueAt(2), "3");
    ZqPluginInfo* second = script->GetPluginInfoAt(1);
    ASSERT_EQ(second->GetRTTI(), &ZqViewerPluginInfo::m_RTTI);
    EXPECT_EQ(static_cast<ZqViewerPluginInfo*>(second)->GetRenderer(), 5);
    EXPECT_STREQ(second->GetType(), "Viewer");
}

TEST(ScriptFile, RefusesMalformedScriptsNamingFileAndPlace) {
    struct Case {
        const char* contents;
        const char* problem;
    } cases[] = {
        {"", "not valid JSON"},
        {"{\"steps\": [", "not valid JSON"},
        {"[]", "\"steps\" list"},
        {"{\"steps\": {}}", "\"steps\" list"},
        {"{\"steps\": [3]}", "steps[0]: a step must be an object"},
        {"{\"steps\": [{\"version\": \"1\", \"class\": \"c\", \"type\": \"t\"}]}",
         "steps[0]: \"name\" must be a string"},
        {"{\"steps\": [{\"name\": 1, \"version\": \"1\", \"class\": \"c\", \"type\": \"t\"}]}",
         "\"name\" must be a string"},
        {"{\"steps\": [{\"name\": \"n\", \"version\": \"1\", \"class\": \"c\", \"type\": \"t\", "
         "\"renderer\": \"5\"}]}",
         "\"renderer\" must be an integer"},
        {"{\"steps\": [{\"name\": \"n\", \"version\": \"1\", \"class\": \"c\", \"type\": \"t\", "
         "\"renderer\": 99999999999}]}",
         "\"renderer\" must be an integer"},
        {"{\"steps\": [{\"name\": \"n\", \"version\": \"1\", \"class\": \"c\", \"type\": \"t\", "
         "\"parameters\": [[\"k\"]]}]}",
         "[\"key\", \"value\"] pair"},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        std::string path = folder.Write("bad.json", c.contents);
        std::string error = ErrorOf([&] { ReadScriptFile(path); });
        EXPECT_NE(error.find(path), std::string::npos) << c.contents;
        EXPECT_NE(error.find(c.problem), std::string::npos) << c.contents << " -> " << error;
    }
    std::string missing = folder.Path("missing.json");
    EXPECT_EQ(ErrorOf([&] { ReadScriptFile(missing); }),
              missing + ": cannot be read (No such file or directory)");
}

TEST(HostFiles, TextHoldingANulIsRefusedNamingTheFileThePlaceAndTheField) {
    const std::string step = R"("name": "n", "version": "1.0", "type": "PROCESS")";
    struct Case {
        std::string contents;
        std::string place;
    } cases[] = {
        {R"({"steps": [{)" + step + R"(, "class": "CullSweepPlugin\u0000Old"}]})",
         R"(steps[0]: "class")"},
        {R"({"steps": [{"class": "c", )" + step + R"(}, {"class": "c", )" + step +
             R"(, "parameters": [["k", "v"], ["k", "\u0000"]]}]})",
         R"(steps[1]: "parameters"[1][1])"},
        {R"({"steps": [{"class": "c", )" + step + R"(, "clas\u0000s": "x"}]})",
         R"(steps[0]: the name "clas\u0000s")"},
        {R"({"roots": [{"name": "r", "children": [{"name": "a"}, {"name": "Tower\u0000"}]}]})",
         R"(roots[0].children[1]: "name")"},
        {R"({"roots": [], "textures": [{"class": "ZqSourceTexture", "file": "a\u0000.hdr"}]})",
         R"(textures[0]: "file")"},
        {R"({"roots": [], "note": "\u0000"})", R"("note")"},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        std::string path = folder.Write("nul.json", c.contents);
        std::string expected = path + ": " + c.place + " holds a NUL character";
        auto read = [&] {
            c.contents.find("steps") != std::string::npos ? (void)ReadScriptFile(path)
                                                          : (void)ReadSceneFile(path);
        };
        EXPECT_EQ(ErrorOf(read), expected) << c.contents;
    }
}

TEST(HostFiles, AFolderOrADocumentTooDeepIsRefusedInOneShortLine) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.Root() / "dir.json");
    std::string dir = folder.Path("dir.json");
    EXPECT_EQ(ErrorOf([&] { ReadScriptFile(dir); }), dir + ": is a folder, not a file");
    EXPECT_EQ(ErrorOf([&] { ReadSceneFile(dir); }), dir + ": is a folder, not a file");

    // Nested lists in a field nobody reads: walking them whole would overrun
    // the stack.
    const size_t levels = 200000;
    std::string path =
        folder.Write("deep.json", R"({"roots": [], "textures": [{"class": "ZqRenderedTexture",
            "width": 1, "height": 1, "extra": )" +
                                      std::string(levels, '[') + std::string(levels, ']') + "}]}");
    EXPECT_EQ(ErrorOf([&] { ReadSceneFile(path); }), path + ": nested deeper than 2500 levels");
}

TEST(SceneFile, RoundTripsTheTree) {
    ScratchFolder folder;
    std::string path = folder.Write("scene.json", R"({"roots": [
        {"name": "R", "children": [{"name": "leaf", "appCulled": true},
                                   {"name": "group", "children": []}]},
        {"name": "bare"}]})");
    Scene scene = ReadSceneFile(path);
    ZqSceneGraphSharedData* graph = scene.graph;
    ASSERT_EQ(graph->GetRootCount(), 2u);
    EXPECT_EQ(CountSceneObjects(*graph), 4u);
    EXPECT_TRUE(graph->GetRootAt(0)->GetAt(0)->GetAppCulled());
    EXPECT_FALSE(ZqObject::IsKindOf(&ZqNode::m_RTTI, graph->GetRootAt(0)->GetAt(0)));
    EXPECT_TRUE(ZqObject::IsKindOf(&ZqNode::m_RTTI, graph->GetRootAt(0)->GetAt(1)));

    std::string saved = folder.Path("saved.json");
    WriteSceneFile(saved, scene);
    Scene again = ReadSceneFile(saved);
    std::ostringstream first, second;
    PrintScene(first, scene);
    PrintScene(second, again);
    EXPECT_EQ(first.str(), "R\n  leaf  [hidden]\n  group\nbare\n4 objects\n");
    EXPECT_EQ(first.str(), second.str());
    EXPECT_NE(ReadText(saved).find("\"children\": []"), std::string::npos); // a node stays a node
}

TEST(SceneFile, RefusesMalformedScenes) {
    std::string deep;
    for (int i = 0; i < 1100; ++i) {
        deep += "{\"name\": \"n\", \"children\": [";
    }
    deep += "{\"name\": \"leaf\"}";
    for (int i = 0; i < 1100; ++i) {
        deep += "]}";
    }
    struct Case {
        std::string contents;
        const char* problem;
    } cases[] = {
        {"{\"roots\": 1}", "\"roots\" list"},
        {"{\"roots\": [{\"name\": \"r\", \"appCulled\": 1}]}", "roots[0]: \"appCulled\" must be"},
        {"{\"roots\": [{\"name\": \"r\", \"children\": [{\"name\": 2}]}]}",
         "roots[0].children[0]: \"name\" must be a string"},
        {"{\"roots\": [{\"name\": \"r\", \"children\": {}}]}", "\"children\" must be a list"},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        std::string path = folder.Write("bad.json", c.contents);
        std::string error = ErrorOf([&] { ReadSceneFile(path); });
        EXPECT_NE(error.find(c.problem), std::string::npos) << error;
    }
    std::string path = folder.Write("deep.json", "{\"roots\": [{\"name\": \"r\"}, " + deep + "]}");
    EXPECT_EQ(ErrorOf([&] { ReadSceneFile(path); }),
              path + ": roots[1]: objects nested deeper than 1000");
}

TEST(CommandLine, UsageErrors) {
    struct Case {
        std::vector<const char*> words;
        const char* problem;
    } cases[] = {
        {{"zqhost"}, "no command given"},
        {{"zqhost", "fly"}, "unknown command"},
        {{"zqhost", "run"}, "takes 1 argument"},
        {{"zqhost", "run", "a.json", "b.json"}, "takes 1 argument"},
        {{"zqhost", "run", "a.json", "--scene"}, "needs a value"},
        {{"zqhost", "plugins", "--scene", "s.json"}, "unknown option --scene"},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        for (const char* word : c.words) {
            argv.push_back(const_cast<char*>(word));
        }
        std::string error =
            ErrorOf([&] { ParseCommandLine(static_cast<int>(argv.size()), argv.data()); });
        EXPECT_NE(error.find(c.problem), std::string::npos) << error;
    }
    const char* words[] = {"zqhost", "run", "s.json", "--plugins", "dir", "--scene", "x"};
    CommandLine line = ParseCommandLine(7, const_cast<char**>(words));
    EXPECT_EQ(line.arguments, std::vector<std::string>{"s.json"});
    EXPECT_EQ(line.Option("--plugins"), "dir");
    EXPECT_EQ(line.Option("--save-scene", "none"), "none");
}

TEST(SceneFile, TexturesOfEveryKindInFileOrder) {
    ScratchFolder folder;
    std::string image = "#?RADIANCE\n\n-Y 2 +X 3\n";
    for (int i = 0; i < 6; ++i) {
        image += std::string("\x10\x20\x30\x80", 4);
    }
    std::filesystem::create_directories(folder.Root() / "images");
    folder.Write("images/sky.hdr", image);
    std::string path = folder.Write("scene.json", R"({"roots": [], "textures": [
        {"class": "ZqSourceTexture", "file": "images/sky.hdr"},
        {"class": "ZqSourceTexture", "file": "far.dds", "external": true, "width": 256, "height": 128},
        {"class": "ZqSourceTexture", "width": 4, "height": 4, "pixelData": {"format": 2,
         "bitsPerPixel": 8, "masks": [1, 2, 3, 4294967295], "palette": true, "mipmaps": 3,
         "bytes": 4294967295}},
        {"class": "ZqSourceCubeMap", "file": "cube.dds", "width": 8, "height": 8, "pixelData": {
         "format": 1, "bitsPerPixel": 32, "masks": [0, 0, 0, 0], "bytes": 10}},
        {"class": "ZqRenderedTexture", "width": 1024, "height": 512}]})");
    Scene scene = ReadSceneFile(path);
    ASSERT_EQ(scene.textures.size(), 5u);
    ZqTexture* texture = ZqTexture::GetListHead();
    for (const ZqPointer<ZqTexture>& expected : scene.textures) {
        EXPECT_EQ(texture, expected) << "the engine's list runs in file order";
        texture = texture ? texture->GetListNext() : nullptr;
    }
    EXPECT_EQ(texture, nullptr);

    auto source = [&](size_t i) {
        return static_cast<ZqSourceTexture*>(static_cast<ZqTexture*>(scene.textures[i]));
    };
    EXPECT_STREQ(source(0)->GetFilename(), "images/sky.hdr");
    EXPECT_EQ(source(0)->GetWidth(), 3u);
    EXPECT_EQ(source(0)->GetHeight(), 2u);
    ASSERT_NE(source(0)->GetSourcePixelData(), nullptr);
    EXPECT_EQ(source(0)->GetSourcePixelData()->GetTotalSizeInBytes(), 48u);
    EXPECT_EQ(source(1)->GetSourcePixelData(), nullptr);
    EXPECT_EQ(source(1)->GetWidth(), 256u);
    EXPECT_EQ(source(2)->GetFilename(), nullptr);
    ZqPixelData* described = source(2)->GetSourcePixelData();
    EXPECT_EQ(described->GetTotalSizeInBytes(), 4294967295u);
    EXPECT_NE(described->GetPalette(), nullptr);
    EXPECT_EQ(described->GetNumMipmapLevels(), 3u);
    EXPECT_EQ(described->GetPixelFormat().GetMask(3), 4294967295u);
    EXPECT_STREQ(scene.textures[3]->GetRTTI()->GetName(), "ZqSourceCubeMap");
    EXPECT_TRUE(ZqObject::IsKindOf(&ZqSourceTexture::m_RTTI, scene.textures[3]));
    EXPECT_EQ(source(3)->GetSourcePixelData()->GetPalette(), nullptr);
    EXPECT_FALSE(ZqObject::IsKindOf(&ZqSourceTexture::m_RTTI, scene.textures[4]));

    // Saved elsewhere, the image file is still found from the new place.
    std::filesystem::create_directories(folder.Root() / "out" / "deeper");
    std::string saved = folder.Path("out/deeper/saved.json");
    WriteSceneFile(saved, scene);
    EXPECT_NE(ReadText(saved).find("\"file\": \"../../images/sky.hdr\""), std::string::npos);
    scene = Scene();
    EXPECT_EQ(ReadSceneFile(saved).textures.size(), 5u);
}

TEST(SceneFile, AnImageReadDespiteANonBooleanExternalSavesMoved) {
    ScratchFolder folder;
    std::filesystem::create_directories(folder.Root() / "images");
    folder.Write("images/sky.hdr",
                 "#?RADIANCE\n\n-Y 1 +X 1\n" + std::string("\x10\x20\x30\x80", 4));
    std::string path = folder.Write("scene.json", R"({"roots": [], "textures": [
        {"class": "ZqSourceTexture", "file": "images/sky.hdr", "external": 1}]})");
    Scene scene = ReadSceneFile(path);
    ASSERT_EQ(scene.textures.size(), 1u);
    EXPECT_EQ(scene.textures[0]->GetWidth(), 1u); // read, not external
    std::filesystem::create_directories(folder.Root() / "out");
    std::string saved = folder.Path("out/saved.json");
    WriteSceneFile(saved, scene);
    EXPECT_NE(ReadText(saved).find("\"file\": \"../images/sky.hdr\""), std::string::npos);
    scene = Scene();
    EXPECT_EQ(ReadSceneFile(saved).textures.size(), 1u);
}

TEST(SceneFile, TextureErrorsNameTheFileAndTheProblem) {
    ScratchFolder folder;
    folder.Write("bad.hdr", "#?RADIANCE\nFORMAT=other\n\n-Y 1 +X 1\n....");
    struct Case {
        std::string texture;
        std::string problem;
    } cases[] = {
        {R"({"class": "ZqSourceTexture", "file": "absent.hdr"})", "absent.hdr: cannot be opened"},
        {R"({"class": "ZqSourceTexture", "file": "bad.hdr"})",
         "bad.hdr: the image reader refuses it"},
        {R"({"class": "ZqSourceTexture", "file": "a.png"})",
         "no image reader reads \".png\" files"},
        {R"({"class": "ZqSourceTexture"})", "needs a \"file\" or \"pixelData\""},
        {R"({"class": "ZqSourceTexture", "file": "x", "external": true, "width": 2})",
         "\"height\" must be a whole number"},
        {R"({"class": "ZqRenderedTexture", "width": -1, "height": 2})", "\"width\" must be"},
        {R"({"class": "ZqSourceTexture", "width": 1, "height": 1, "pixelData": {"format": 1,
            "bitsPerPixel": 300, "masks": [0, 0, 0, 0], "bytes": 1}})",
         "\"bitsPerPixel\" must be"},
        {R"({"class": "ZqSourceTexture", "width": 1, "height": 1, "pixelData": {"format": 1,
            "bitsPerPixel": 8, "masks": [0, 0, 0], "bytes": 1}})",
         "four masks"},
        {R"({"class": "ZqSourceTexture", "width": 1, "height": 1, "pixelData": {"format": 1,
            "bitsPerPixel": 8, "masks": [0, 0, 0, 0], "bytes": 4294967296}})",
         "\"bytes\" must be"},
        {R"({"class": "ZqMovieTexture"})", "unknown texture class \"ZqMovieTexture\""},
        {R"(7)", "a texture must be an object"},
    };
    for (const Case& c : cases) {
        std::string path =
            folder.Write("scene.json", "{\"roots\": [], \"textures\": [" + c.texture + "]}");
        std::string error = ErrorOf([&] { ReadSceneFile(path); });
        EXPECT_NE(error.find(path + ": textures[0]: "), std::string::npos) << error;
        EXPECT_NE(error.find(c.problem), std::string::npos) << error;
        EXPECT_EQ(ZqTexture::GetListHead(), nullptr) << "nothing half-made stays alive";
    }
}
