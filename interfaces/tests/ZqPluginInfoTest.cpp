#include "ZqExportPluginInfo.h"
#include "ZqPointer.h"
#include "ZqScriptInfo.h"
#include "ZqViewerPluginInfo.h"

#include <gtest/gtest.h>

TEST(ZqPluginInfo, ParametersKeepTheirOrderAndSetBoolAppendsOrReplaces) {
    ZqPointer<ZqPluginInfo> info = new ZqPluginInfo;
    info->AddParameter("SingleKF", "TRUE");
    info->AddParameter("Separator", "_");
    info->AddParameter("Flag", "TRUE");
    info->AddParameter("Flag", "TRUE");
    EXPECT_TRUE(info->SetBool("Flag", false, 1));     // second "Flag"
    EXPECT_TRUE(info->SetBool("Missing", false, 0));  // appended last
    EXPECT_TRUE(info->SetBool("Separator", true, 3)); // no fourth one: appended
    const char* expected[][2] = {{"SingleKF", "TRUE"}, {"Separator", "_"},   {"Flag", "TRUE"},
                                 {"Flag", "FALSE"},    {"Missing", "FALSE"}, {"Separator", "TRUE"}};
    ASSERT_EQ(info->GetParameterCount(), 6u);
    for (unsigned i = 0; i < 6; ++i) {
        EXPECT_STREQ(info->GetKeyAt(i), expected[i][0]) << i;
        EXPECT_STREQ(info->GetValueAt(i), expected[i][1]) << i;
    }
    EXPECT_STREQ(info->GetValue("Separator"), "_");
    EXPECT_EQ(info->GetValue("Absent"), nullptr);
    EXPECT_EQ(info->GetKeyAt(6), nullptr);
}

TEST(ZqPluginInfo, CloneAndEqualsRespectTheClass) {
    ZqPointer<ZqExportPluginInfo> exportInfo = new ZqExportPluginInfo("/d/", "FILE", ".ZQF");
    exportInfo->SetName("ZQF Exporter");
    exportInfo->AddParameter("k", "v");
    ZqPointer<ZqPluginInfo> copy = exportInfo->Clone();
    EXPECT_EQ(copy->GetRTTI(), &ZqExportPluginInfo::m_RTTI);
    EXPECT_TRUE(copy->Equals(exportInfo));
    EXPECT_STREQ(static_cast<ZqExportPluginInfo*>(static_cast<ZqPluginInfo*>(copy))->GetFile(),
                 "FILE");

    ZqPointer<ZqViewerPluginInfo> viewer = new ZqViewerPluginInfo(ZQ_RENDERER_DEFAULT);
    ZqPointer<ZqViewerPluginInfo> otherRenderer = new ZqViewerPluginInfo(ZQ_RENDERER_NONE);
    ZqPointer<ZqPluginInfo> plain = new ZqPluginInfo;
    EXPECT_FALSE(viewer->Equals(otherRenderer));
    EXPECT_FALSE(viewer->Equals(plain));
    EXPECT_FALSE(plain->Equals(viewer));
    ZqPointer<ZqPluginInfo> viewerCopy = viewer->Clone();
    EXPECT_TRUE(viewerCopy->Equals(viewer));
}

TEST(ZqScriptInfo, TakesOverItsSteps) {
    ZqPointer<ZqScriptInfo> script = new ZqScriptInfo;
    ZqPluginInfo* step = new ZqPluginInfo;
    script->AddPluginInfo(step);
    script->AddPluginInfo(nullptr);
    EXPECT_EQ(script->GetPluginInfoCount(), 1u);
    EXPECT_EQ(script->GetPluginInfoAt(0), step);
    EXPECT_EQ(step->GetRefCount(), 1u);
}
