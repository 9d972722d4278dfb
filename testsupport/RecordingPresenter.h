#pragma once

#include "ZqPlatform.h"

#include <string>
#include <vector>

// Records message boxes and info dialogs instead of showing them, from its
// construction to its destruction, when the previous presenter comes back.
// Each window is one line: "box|caption|text|style" or "dialog|title|text".
class RecordingPresenter : public ZqPlatform::Presenter {
public:
    RecordingPresenter();
    ~RecordingPresenter() override;
    RecordingPresenter(const RecordingPresenter&) = delete;
    RecordingPresenter& operator=(const RecordingPresenter&) = delete;

    void ShowMessageBox(const char* text, const char* caption, unsigned style) override;
    void ShowInfoDialog(const char* title, const char* text) override;

    std::vector<std::string> shown;

private:
    ZqPlatform::Presenter* m_previous;
};
