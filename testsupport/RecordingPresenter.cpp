#include "RecordingPresenter.h"

RecordingPresenter::RecordingPresenter() : m_previous(ZqPlatform::SetPresenter(this)) {}

RecordingPresenter::~RecordingPresenter() {
    ZqPlatform::SetPresenter(m_previous);
}

void RecordingPresenter::ShowMessageBox(const char* text, const char* caption, unsigned style) {
    shown.push_back(std::string("box|") + caption + "|" + text + "|" + std::to_string(style));
}

void RecordingPresenter::ShowInfoDialog(const char* title, const char* text) {
    shown.push_back(std::string("dialog|") + title + "|" + text);
}
