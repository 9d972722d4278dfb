// The plug-ins of the built modules called the way a host built elsewhere
// calls them: through slot numbers written out by hand from the toolkit's
// published order, not through the headers the modules were compiled with.
// A virtual operation moved in a header moves its slot and fails here.
#include "RecordingPresenter.h"
#include "ScratchFolder.h"
#include "VirtualSlots.h"
#include "ZqPlatform.h"
#include "ZqPluginArray.h"
#include "ZqRefObject.h"
#include "ZqViewerPluginInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// The toolkit's plug-in slots: the destructor's entries, then in order.
enum PluginSlot : unsigned {
    kDeletingDestructor = kDestructorEntries - 1,
    kGetRTTI = kDestructorEntries + 0,
    kCanExecute = kDestructorEntries + 1,
    kExecute = kDestructorEntries + 2,
    kMakeDefaultInfo = kDestructorEntries + 3,
    kHasOptionsDialog = kDestructorEntries + 4,
    kShowOptionsDialog = kDestructorEntries + 5,
    kSetAbsolutePluginPath = kDestructorEntries + 6,
    kGetAbsolutePluginPath = kDestructorEntries + 7,
    kCanCreateDefaultInstance = kDestructorEntries + 8,
    // Viewer plug-ins go on with these.
    kCanView = kDestructorEntries + 9,
    kView = kDestructorEntries + 10,
    kSupportsRenderer = kDestructorEntries + 11,
};

typedef void(ZQ_MEMBER_CALL* Destroy)(void* self);
typedef const ZqRTTI*(ZQ_MEMBER_CALL* GetRTTI)(const void* self);
typedef bool(ZQ_MEMBER_CALL* CanExecute)(void* self, ZqPluginInfo* info);
typedef ZqPointer<ZqExecutionResult>(ZQ_MEMBER_CALL* Execute)(void* self, const ZqPluginInfo*);
typedef ZqPluginInfo*(ZQ_MEMBER_CALL* MakeDefaultInfo)(void* self);
typedef bool(ZQ_MEMBER_CALL* Ask)(void* self);
typedef bool(ZQ_MEMBER_CALL* ShowOptionsDialog)(void* self, ZqPluginInfo* info, void* parent);
typedef void(ZQ_MEMBER_CALL* SetPath)(void* self, const char* path);
typedef const ZqString&(ZQ_MEMBER_CALL* GetPath)(const void* self);
typedef bool(ZQ_MEMBER_CALL* CanView)(void* self, ZqViewerPluginInfo* info);
typedef ZqPointer<ZqExecutionResult>(ZQ_MEMBER_CALL* View)(void* self, const ZqViewerPluginInfo*);
typedef bool(ZQ_MEMBER_CALL* SupportsRenderer)(void* self, ZqPluginToolkitRenderer renderer);

// What each plug-in of a module answers.
struct Expected {
    const char* name;
    const char* className;
    bool viewer;
    bool placeholder;            // answers to its name; runs and succeeds without a scene
    const char* defaultInfoType; // null: no default info
    bool supportsDefaultRenderer;
};

struct ModuleCase {
    const char* module;
    std::vector<Expected> plugins;
};

const ModuleCase kModules[] = {
    {"CullSweep",
     {{"Remove Hidden Objects Plug-in", "CullSweepPlugin", false, false, "PROCESS", false}}},
    {"ImageTally", {{"Texture Analyzer", "ZqImageTallyPlugin", false, false, "PROCESS", false}}},
    {"MotionLens", {{"KFM Viewer", "MotionLensPlugin", true, false, "Viewer", true}}},
    {"RetiredStubs",
     {{"Texture Swizzle", "DeprecatedProcessPlugin", false, true, nullptr, false},
      {"PS2 Viewer", "DeprecatedViewerPlugin", true, true, nullptr, false},
      {"Xbox Viewer", "DeprecatedViewerPlugin", true, true, nullptr, false}}},
};

// A step that names `plugin` as its kind expects: by class for ordinary
// plug-ins, by name for placeholders.
ZqPointer<ZqPluginInfo> StepFor(const Expected& plugin, bool naming) {
    ZqPointer<ZqPluginInfo> info =
        plugin.viewer ? static_cast<ZqPluginInfo*>(new ZqViewerPluginInfo(ZQ_RENDERER_DEFAULT))
                      : new ZqPluginInfo;
    info->SetName(plugin.placeholder && !naming ? "Another Plug-in" : plugin.name);
    info->SetClassName(!plugin.placeholder && !naming ? "AnotherPlugin" : plugin.className);
    info->SetVersion("1.0");
    info->SetType(plugin.viewer ? "Viewer" : "PROCESS");
    return info;
}

class VirtualSlots : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_folder.Root() / "a" / "b");
        m_registry = m_folder.Write("registry.reg",
                                    "Windows Registry Editor Version 5.00\n\n"
                                    "[HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command]\n"
                                    "@=\"zq-missing-viewer %1\"\n");
        ZqPlatform::SetRegistryFile(m_registry.c_str());
    }
    void TearDown() override { ZqPlatform::SetRegistryFile(nullptr); }

    ScratchFolder m_folder;
    std::string m_registry;
    RecordingPresenter m_recorder;
};

} // namespace

TEST_F(VirtualSlots, EveryPluginOfEveryModuleAnswersInItsSlots) {
    for (const ModuleCase& c : kModules) {
        SCOPED_TRACE(c.module);
        std::string error;
        ZqPlatform::Module* module = ZqPlatform::LoadModule(
            (std::string(ZQ_BUILD_DIR) + "/plugins/" + c.module + ZqPlatform::ModuleSuffix())
                .c_str(),
            error);
        ASSERT_NE(module, nullptr) << error;
        auto getPlugins = reinterpret_cast<void (*)(ZqPluginArray&)>(
            ZqPlatform::FindSymbol(module, "GetPlugins"));
        ASSERT_NE(getPlugins, nullptr);
        {
            ZqPluginArray plugins;
            getPlugins(plugins);
            ASSERT_EQ(plugins.GetSize(), c.plugins.size());
            for (unsigned i = 0; i < plugins.GetSize(); ++i) {
                const Expected& expected = c.plugins[i];
                SCOPED_TRACE(expected.name);
                void* plugin = plugins.GetAt(i);

                const ZqRTTI* rtti = Slot<GetRTTI>(plugin, kGetRTTI)(plugin);
                ASSERT_NE(rtti, nullptr);
                EXPECT_STREQ(rtti->GetName(), expected.className);

                EXPECT_TRUE(Slot<CanExecute>(plugin, kCanExecute)(plugin, StepFor(expected, true)));
                EXPECT_FALSE(
                    Slot<CanExecute>(plugin, kCanExecute)(plugin, StepFor(expected, false)));

                ZqPointer<ZqPluginInfo> info =
                    Slot<MakeDefaultInfo>(plugin, kMakeDefaultInfo)(plugin);
                if (expected.defaultInfoType) {
                    ASSERT_NE(info, nullptr);
                    EXPECT_STREQ(info->GetClassName(), expected.className);
                    EXPECT_STREQ(info->GetName(), expected.name);
                    EXPECT_STREQ(info->GetType(), expected.defaultInfoType);
                } else {
                    EXPECT_EQ(info, nullptr);
                }

                EXPECT_EQ(Slot<Ask>(plugin, kHasOptionsDialog)(plugin), expected.placeholder);
                m_recorder.shown.clear();
                EXPECT_EQ(
                    Slot<ShowOptionsDialog>(plugin, kShowOptionsDialog)(plugin, nullptr, nullptr),
                    expected.placeholder);
                EXPECT_EQ(m_recorder.shown.size(), expected.placeholder ? 1u : 0u);

                // The export folder of the viewer lies two levels above the path.
                std::string path = (m_folder.Root() / "a" / "b").string() + "/";
                Slot<SetPath>(plugin, kSetAbsolutePluginPath)(plugin, path.c_str());
                EXPECT_STREQ(Slot<GetPath>(plugin, kGetAbsolutePluginPath)(plugin), path.c_str());
                EXPECT_EQ(Slot<Ask>(plugin, kCanCreateDefaultInstance)(plugin),
                          !expected.placeholder);

                // Without a scene (or, for the viewer, without a host to run its
                // export) an ordinary plug-in fails; a placeholder succeeds.
                ZqExecutionResult::ReturnCode code = expected.placeholder
                                                         ? ZqExecutionResult::RETURN_SUCCESS
                                                         : ZqExecutionResult::RETURN_FAILURE;
                ZqPointer<ZqExecutionResult> ran =
                    Slot<Execute>(plugin, kExecute)(plugin, StepFor(expected, true));
                ASSERT_NE(ran, nullptr);
                EXPECT_EQ(ran->GetReturnCode(), code);

                if (!expected.viewer) {
                    continue;
                }
                ZqPointer<ZqPluginInfo> step = StepFor(expected, true);
                auto* viewerStep =
                    static_cast<ZqViewerPluginInfo*>(static_cast<ZqPluginInfo*>(step));
                EXPECT_TRUE(Slot<CanView>(plugin, kCanView)(plugin, viewerStep));
                ZqPointer<ZqExecutionResult> viewed = Slot<View>(plugin, kView)(plugin, viewerStep);
                ASSERT_NE(viewed, nullptr);
                EXPECT_EQ(viewed->GetReturnCode(), code);
                EXPECT_EQ(
                    Slot<SupportsRenderer>(plugin, kSupportsRenderer)(plugin, ZQ_RENDERER_DEFAULT),
                    expected.supportsDefaultRenderer);
                EXPECT_FALSE(Slot<SupportsRenderer>(plugin, kSupportsRenderer)(
                    plugin, ZQ_RENDERER_SOFTWARE));
            }
        }
        {
            // A fresh set, each destroyed through its deleting destructor.
            ZqPluginArray plugins;
            getPlugins(plugins);
            std::vector<ZqPlugin*> taken;
            for (unsigned i = 0; i < plugins.GetSize(); ++i) {
                taken.push_back(plugins.GetAt(i));
                taken.back()->IncRefCount();
            }
            plugins.RemoveAll();
            for (ZqPlugin* plugin : taken) {
                unsigned objects = ZqRefObject::GetTotalObjectCount();
                Slot<Destroy>(plugin, kDeletingDestructor)(plugin);
                EXPECT_EQ(ZqRefObject::GetTotalObjectCount(), objects - 1);
            }
        }
        ZqPlatform::UnloadModule(module);
    }
}
