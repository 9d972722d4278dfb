// The 32-bit DLLs called as a host built by another compiler calls them:
// with a stack only 4-byte aligned. Exports, a plug-in's virtual operations
// and the reader's vector paths must all work at every misalignment.
#include "HdrTestImages.h"
#include "HiddenObjectScene.h"
#include "MisalignedCall.h"
#include "RecordingPresenter.h"
#include "ZqFile.h"
#include "ZqPlatformTesting.h"
#include "ZqPluginArray.h"
#include "ZqRenderedTexture.h"
#include "ZqSceneGraphSharedData.h"
#include "ZqSharedDataList.h"
#include "ZqSourceTexture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

extern "C" int ZqProbeTrustingTheCaller(int seed);
extern "C" int ZqProbeWithOurFlags(int seed);

namespace {

const unsigned kMisalignments[] = {0, 4, 8, 12};

// The plug-in modules, loaded as the host loads them.
class MisalignedStackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* name : {"CullSweep", "ImageTally", "MotionLens", "RetiredStubs"}) {
            std::string error;
            std::string path = std::string(ZQ_BUILD_DIR) + "/plugins/" + name + ".dll";
            s_modules.push_back(ZqPlatform::LoadModule(path.c_str(), error));
            ASSERT_NE(s_modules.back(), nullptr) << path << ": " << error;
        }
    }
    static void TearDownTestSuite() {
        for (ZqPlatform::Module* module : s_modules) {
            if (module) {
                ZqPlatform::UnloadModule(module);
            }
        }
        s_modules.clear();
    }
    void TearDown() override { ZqSharedDataList::GetInstance()->RemoveAll(); }

    // GetPlugins of module `index`, called at `misalignment`.
    static void GetPlugins(unsigned index, ZqPluginArray& plugins, unsigned misalignment) {
        const void* getPlugins = ZqPlatform::FindSymbol(s_modules[index], "GetPlugins");
        ASSERT_NE(getPlugins, nullptr);
        MisalignedCallResult call =
            CallMisaligned(getPlugins, nullptr, {Word(&plugins)}, misalignment);
        EXPECT_EQ(call.fault, 0u) << std::hex << call.fault;
    }

    // plugin->Execute(info) at `misalignment`. The result is a class returned
    // by value: GCC passes the address it goes to in ECX, and `this` on the
    // stack before the arguments.
    static ZqExecutionResult::ReturnCode Execute(ZqPlugin* plugin, const ZqPluginInfo* info,
                                                 unsigned misalignment) {
        ZqPointer<ZqExecutionResult> result;
        const void* execute = VirtualFunctionOf(plugin, &ZqPlugin::Execute);
        MisalignedCallResult call =
            CallMisaligned(execute, &result, {Word(plugin), Word(info)}, misalignment);
        EXPECT_EQ(call.fault, 0u) << std::hex << call.fault;
        EXPECT_EQ(call.value, Word(&result));
        return result ? result->GetReturnCode() : ZqExecutionResult::RETURN_FAILURE;
    }

    static std::vector<ZqPlatform::Module*> s_modules;
    RecordingPresenter m_recorder;
};

std::vector<ZqPlatform::Module*> MisalignedStackTest::s_modules;

// reader.ReadFile(file, nullptr) at `misalignment`; the caller owns the result.
ZqPixelData* ReadFileMisaligned(ZqHDRReader& reader, ZqFile& file, unsigned misalignment) {
    const void* readFile = VirtualFunctionOf(&reader, &ZqHDRReader::ReadFile);
    MisalignedCallResult call =
        CallMisaligned(readFile, &reader, {Word(&file), Word(nullptr)}, misalignment);
    EXPECT_EQ(call.fault, 0u) << std::hex << call.fault;
    return reinterpret_cast<ZqPixelData*>(static_cast<std::uintptr_t>(call.value));
}

std::vector<unsigned char> TopLevel(const ZqPixelData* data) {
    const unsigned char* pixels = data->GetPixels(0);
    return std::vector<unsigned char>(pixels, pixels + data->GetSizeInBytes(0));
}

} // namespace

TEST(MisalignedStack, TheProbeFaultsWithoutOurFlagsAndNotWithThem) {
    for (unsigned misalignment : kMisalignments) {
        MisalignedCallResult trusting = CallMisaligned(
            reinterpret_cast<const void*>(&ZqProbeTrustingTheCaller), nullptr, {21}, misalignment);
        if (misalignment == 0) {
            EXPECT_EQ(trusting.fault, 0u);
            EXPECT_EQ(trusting.value, 42u);
        } else {
            EXPECT_NE(trusting.fault, 0u) << "no fault at misalignment " << misalignment;
        }
        MisalignedCallResult flagged = CallMisaligned(
            reinterpret_cast<const void*>(&ZqProbeWithOurFlags), nullptr, {21}, misalignment);
        EXPECT_EQ(flagged.fault, 0u) << misalignment << ": " << std::hex << flagged.fault;
        EXPECT_EQ(flagged.value, 42u) << misalignment;
    }
}

TEST_F(MisalignedStackTest, GetPluginsAndGetCompilerVersion) {
    const std::vector<std::vector<std::string>> expected = {
        {"Remove Hidden Objects Plug-in"},
        {"Texture Analyzer"},
        {"KFM Viewer"},
        {"Texture Swizzle", "PS2 Viewer", "Xbox Viewer"}};
    for (unsigned index = 0; index < s_modules.size(); ++index) {
        const void* version = ZqPlatform::FindSymbol(s_modules[index], "GetCompilerVersion");
        for (unsigned misalignment : kMisalignments) {
            ZqPluginArray plugins;
            GetPlugins(index, plugins, misalignment);
            std::vector<std::string> names;
            for (unsigned i = 0; i < plugins.GetSize(); ++i) {
                names.push_back(static_cast<const char*>(plugins.GetAt(i)->GetName()));
                EXPECT_EQ(plugins.GetAt(i)->GetRefCount(), 1u);
            }
            EXPECT_EQ(names, expected[index]) << "misalignment " << misalignment;
            if (version) {
                MisalignedCallResult call = CallMisaligned(version, nullptr, {}, misalignment);
                EXPECT_EQ(call.fault, 0u);
                EXPECT_EQ(call.value, 1310u);
            }
        }
    }
}

TEST_F(MisalignedStackTest, TheTextureReportIsTheSameAtEveryMisalignment) {
    ZqSharedDataList::GetInstance()->Insert(new ZqSceneGraphSharedData);
    ZqPointer<ZqTexture> rendered = new ZqRenderedTexture(640, 480);
    ZqPointer<ZqTexture> source = new ZqSourceTexture(
        "wall.tga", new ZqPixelData(64, 32, ZqPixelFormat::RGBA64, 1, 1), 64, 32);
    ZqPluginArray plugins;
    GetPlugins(1, plugins, 0);
    ASSERT_EQ(plugins.GetSize(), 1u);
    for (unsigned misalignment : kMisalignments) {
        EXPECT_EQ(Execute(plugins.GetAt(0), nullptr, misalignment),
                  ZqExecutionResult::RETURN_SUCCESS);
    }
    ASSERT_EQ(m_recorder.shown.size(), 4u);
    const std::string& report = m_recorder.shown[0];
    EXPECT_EQ(report.rfind("dialog|Texture Analysis Results:|", 0), 0u) << report;
    EXPECT_NE(report.find("ZqSourceTexture Object: \"wall.tga\" (64 x 32)\r\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("ZqRenderedTexture Object: (640 x 480)"), std::string::npos);
    EXPECT_NE(report.find("Total Size: 16.000000 kb"), std::string::npos) << report;
    for (const std::string& shown : m_recorder.shown) {
        EXPECT_EQ(shown, report);
    }
}

TEST_F(MisalignedStackTest, HiddenObjectsAreRemovedAtEveryMisalignment) {
    ZqPluginArray plugins;
    GetPlugins(0, plugins, 0);
    ASSERT_EQ(plugins.GetSize(), 1u);
    for (unsigned misalignment : kMisalignments) {
        ZqPointer<ZqSceneGraphSharedData> scene = new ZqSceneGraphSharedData;
        ZqNode* root = NewRootWithHiddenChild("root");
        scene->AddRoot(root);
        ZqSharedDataList::GetInstance()->Insert(scene);
        EXPECT_EQ(Execute(plugins.GetAt(0), nullptr, misalignment),
                  ZqExecutionResult::RETURN_SUCCESS);
        ASSERT_EQ(root->GetChildCount(), 1u) << misalignment;
        EXPECT_STREQ(root->GetAt(0)->GetName(), "shown");
        ZqSharedDataList::GetInstance()->RemoveAll();
    }
}

TEST_F(MisalignedStackTest, WithdrawnPluginsRunAndShowTheirOptionsDialog) {
    ZqPluginArray plugins;
    GetPlugins(3, plugins, 0);
    ASSERT_EQ(plugins.GetSize(), 3u);
    ZqPlugin* swizzle = plugins.GetAt(0);
    const void* options = VirtualFunctionOf(swizzle, &ZqPlugin::ShowOptionsDialog);
    for (unsigned misalignment : kMisalignments) {
        EXPECT_EQ(Execute(swizzle, nullptr, misalignment), ZqExecutionResult::RETURN_SUCCESS);
        MisalignedCallResult call =
            CallMisaligned(options, swizzle, {Word(nullptr), Word(nullptr)}, misalignment);
        EXPECT_EQ(call.fault, 0u);
        EXPECT_EQ(call.value & 0xFF, 1u); // true
    }
    ASSERT_EQ(m_recorder.shown.size(), 4u);
    for (const std::string& shown : m_recorder.shown) {
        EXPECT_EQ(shown, "box|Texture Swizzle|This class has been deprecated by Quorvel.\n"
                         "Please remove this plug-in from your script.|16");
    }
}

TEST(MisalignedStackReader, ReadFileDecodesTheSameAtEveryMisalignment) {
    // Wide enough for the vector paths, run-length and flat, in both column
    // directions, and the demo's sky.
    struct Image {
        const char* resolution;
        bool runLength;
        unsigned rows;
        unsigned columns;
        bool topToBottom;
        bool leftToRight;
    } images[] = {
        {"-Y 3 +X 301", true, 3, 301, true, true},
        {"+Y 3 -X 301", true, 3, 301, false, false},
        {"-Y 2 +X 517", false, 2, 517, true, true},
        {"-Y 2 -X 517", false, 2, 517, true, false},
    };
    ZqHDRReader reader;
    for (const Image& image : images) {
        const Bytes bytes = Concat(Header(image.resolution),
                                   image.runLength ? RlePixels(image.rows, image.columns)
                                                   : FlatPixels(image.rows, image.columns));
        for (unsigned misalignment : kMisalignments) {
            ZqMemoryFile file(bytes.data(), bytes.size());
            ZqPointer<ZqPixelData> data = ReadFileMisaligned(reader, file, misalignment);
            ASSERT_NE(data, nullptr) << image.resolution << ", misalignment " << misalignment;
            ASSERT_EQ(data->GetWidth(0), image.columns);
            ASSERT_EQ(data->GetHeight(0), image.rows);
            // Every pixel where the orientation puts it, as the per-pixel rule gives it.
            std::vector<unsigned char> pixels = TopLevel(data);
            for (unsigned i = 0; i < image.rows * image.columns; ++i) {
                unsigned row = i / image.columns;
                unsigned column = i % image.columns;
                unsigned placedRow = image.topToBottom ? row : image.rows - 1 - row;
                unsigned placedColumn = image.leftToRight ? column : image.columns - 1 - column;
                unsigned char rgbe[4];
                PixelFor(i, rgbe);
                const unsigned char* at =
                    &pixels[8 * (size_t(placedRow) * image.columns + placedColumn)];
                ASSERT_EQ(std::vector<unsigned char>(at, at + 8), HalfOf(rgbe))
                    << image.resolution << ", misalignment " << misalignment << ", pixel " << i;
            }
        }
    }

    std::vector<unsigned char> sky;
    for (unsigned misalignment : kMisalignments) {
        ZqFile file((std::string(ZQ_SOURCE_DIR) + "/examples/sky.hdr").c_str());
        ASSERT_TRUE(file.IsGood());
        ZqPointer<ZqPixelData> data = ReadFileMisaligned(reader, file, misalignment);
        ASSERT_NE(data, nullptr);
        if (misalignment == 0) {
            sky = TopLevel(data);
            EXPECT_FALSE(sky.empty());
        } else {
            EXPECT_EQ(TopLevel(data), sky) << "misalignment " << misalignment;
        }
    }
    std::printf("conversion instructions: %s\n",
                ZqPlatform::HasFloat16Instructions() ? "used" : "absent");
}
