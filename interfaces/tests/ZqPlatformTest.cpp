#include "ZqPlatform.h"
#include "ZqInfoDialog.h"
#include "ZqMessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct Recorder : ZqPlatform::Presenter {
    void ShowMessageBox(const char* text, const char* caption, unsigned style) override {
        shown.push_back(std::string("box|") + caption + "|" + text + "|" + std::to_string(style));
    }
    void ShowInfoDialog(const char* title, const char* text) override {
        shown.push_back(std::string("dialog|") + title + "|" + text);
    }
    std::vector<std::string> shown;
};
} // namespace

TEST(ZqPlatform, ModalWindowsGoThroughTheInstalledPresenter) {
    Recorder recorder;
    ZqPlatform::Presenter* previous = ZqPlatform::SetPresenter(&recorder);
    EXPECT_EQ(ZqMessageBox("Text\nline two", "Caption"), ZqPlatform::ID_OK);
    ZqInfoDialog dialog(ZqString("Title:"));
    dialog.SetText("a\r\r\nb", false);
    EXPECT_EQ(dialog.DoModal(), ZqPlatform::ID_OK);
    EXPECT_EQ(ZqPlatform::SetPresenter(previous), &recorder);
    const std::vector<std::string> expected = {"box|Caption|Text\nline two|16",
                                               "dialog|Title:|a\r\r\nb"};
    EXPECT_EQ(recorder.shown, expected);
}

TEST(ZqPlatform, LoadingAMissingModuleSaysWhy) {
    std::string error;
    EXPECT_EQ(ZqPlatform::LoadModule("/nonexistent/Nothing.so", error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ZqPlatform::FindSymbol(nullptr, "GetPlugins"), nullptr);
    EXPECT_FALSE(ZqPlatform::ExecutablePath().empty());
}
