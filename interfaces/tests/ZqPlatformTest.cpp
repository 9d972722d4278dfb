#include "ZqPlatform.h"
#include "RecordingPresenter.h"
#include "ZqInfoDialog.h"
#include "ZqMessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ZqPlatform, ModalWindowsGoThroughTheInstalledPresenter) {
    ZqPlatform::Presenter* before = ZqPlatform::SetPresenter(nullptr);
    ZqPlatform::SetPresenter(before);
    std::vector<std::string> shown;
    {
        RecordingPresenter recorder;
        EXPECT_EQ(ZqMessageBox("Text\nline two", "Caption"), ZqPlatform::ID_OK);
        ZqInfoDialog dialog(ZqString("Title:"));
        dialog.SetText("a\r\r\nb", false);
        EXPECT_EQ(dialog.DoModal(), ZqPlatform::ID_OK);
        EXPECT_EQ(ZqPlatform::SetPresenter(&recorder), &recorder);
        shown = recorder.shown;
    }
    // Gone with the recorder: the presenter before it is back.
    EXPECT_EQ(ZqPlatform::SetPresenter(before), before);
    const std::vector<std::string> expected = {"box|Caption|Text\nline two|16",
                                               "dialog|Title:|a\r\r\nb"};
    EXPECT_EQ(shown, expected);
}

TEST(ZqPlatform, LoadingAMissingModuleSaysWhy) {
    std::string error;
    EXPECT_EQ(ZqPlatform::LoadModule("/nonexistent/Nothing.so", error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ZqPlatform::FindSymbol(nullptr, "GetPlugins"), nullptr);
    EXPECT_FALSE(ZqPlatform::ExecutablePath().empty());
}
