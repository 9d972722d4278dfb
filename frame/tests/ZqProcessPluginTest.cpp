#include "ZqProcessPlugin.h"

#include <gtest/gtest.h>

namespace {
class SamplePlugin : public ZqProcessPlugin {
public:
    static const ZqRTTI m_RTTI;
    SamplePlugin() : ZqProcessPlugin("Sample Plug-in", "1.1", "short", "long") {}
    const ZqRTTI* GetRTTI() const override { return &m_RTTI; }
    ZqPointer<ZqExecutionResult> Execute(const ZqPluginInfo*) override {
        return new ZqExecutionResult(ZqExecutionResult::RETURN_SUCCESS);
    }
};
const ZqRTTI SamplePlugin::m_RTTI("SamplePlugin", &ZqPlugin::m_RTTI);

ZqPointer<ZqPluginInfo> Step(const char* className, const char* version) {
    ZqPointer<ZqPluginInfo> info = new ZqPluginInfo;
    info->SetClassName(className);
    info->SetVersion(version);
    return info;
}
} // namespace

TEST(ZqProcessPlugin, CanExecuteMatchesClassNameExactlyThenVersion) {
    struct Case {
        const char* className;
        const char* version;
        bool accepted;
    } cases[] = {
        {"SamplePlugin", "1.1", true},
        {"SamplePlugin", "1.0", true},
        {"SamplePlugin", "1.2", false},
        {"SamplePlugin", "2.0", false},
        {"sampleplugin", "1.1", false},
        {"SAMPLEPLUGIN", "1.1", false},
        {"SamplePlugin ", "1.1", false},
        {"Sample Plug-in", "1.1", false},
        {"", "1.1", false},
    };
    ZqPointer<SamplePlugin> plugin = new SamplePlugin;
    for (const Case& c : cases) {
        EXPECT_EQ(plugin->CanExecute(Step(c.className, c.version)), c.accepted)
            << c.className << " " << c.version;
    }
    EXPECT_FALSE(plugin->CanExecute(nullptr));
}

TEST(ZqProcessPlugin, DefaultInfoNamesThePlugin) {
    ZqPointer<SamplePlugin> plugin = new SamplePlugin;
    ZqPointer<ZqPluginInfo> info = plugin->MakeDefaultInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->GetRefCount(), 1u); // the caller's pointer is the only owner
    EXPECT_STREQ(info->GetName(), "Sample Plug-in");
    EXPECT_STREQ(info->GetVersion(), "1.1");
    EXPECT_STREQ(info->GetClassName(), "SamplePlugin");
    EXPECT_STREQ(info->GetType(), "PROCESS");
    EXPECT_EQ(info->GetParameterCount(), 0u);
    EXPECT_TRUE(plugin->CanExecute(info));
}

TEST(ZqProcessPlugin, HasNoOptionsDialog) {
    ZqPointer<SamplePlugin> plugin = new SamplePlugin;
    EXPECT_FALSE(plugin->HasOptionsDialog());
    EXPECT_FALSE(plugin->ShowOptionsDialog(nullptr, nullptr));
}
