#pragma once

#include "ZqPlatform.h"

#include <string>

// The host's presenter: message boxes go to stderr as "[CAPTION] TEXT", info
// dialogs to stdout as the title line and the text. With a save folder, each
// is also written there: dialog-N.txt holds the dialog text byte for byte,
// message-N.txt the caption, a line feed and the text.
class ConsolePresenter : public ZqPlatform::Presenter {
public:
    explicit ConsolePresenter(std::string saveFolder);

    void ShowMessageBox(const char* text, const char* caption, unsigned style) override;
    void ShowInfoDialog(const char* title, const char* text) override;

private:
    void Save(const char* kind, unsigned number, const std::string& contents);

    std::string m_saveFolder;
    unsigned m_messages = 0;
    unsigned m_dialogs = 0;
};
