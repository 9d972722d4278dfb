#include "ConsolePresenter.h"

#include "EscapedText.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

ConsolePresenter::ConsolePresenter(std::string saveFolder) : m_saveFolder(std::move(saveFolder)) {}

void ConsolePresenter::ShowMessageBox(const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "[%s] %s\n", EscapedText(caption).c_str(), EscapedText(text).c_str());
    Save("message", ++m_messages, std::string(caption) + "\n" + text);
}

void ConsolePresenter::ShowInfoDialog(const char* title, const char* text) {
    std::fprintf(stdout, "%s\n%s\n", EscapedText(title).c_str(), EscapedText(text).c_str());
    std::fflush(stdout);
    Save("dialog", ++m_dialogs, text);
}

void ConsolePresenter::Save(const char* kind, unsigned number, const std::string& contents) {
    if (m_saveFolder.empty()) {
        return;
    }
    std::error_code code;
    std::filesystem::create_directories(m_saveFolder, code);
    std::string path = (std::filesystem::path(m_saveFolder) /
                        (std::string(kind) + "-" + std::to_string(number) + ".txt"))
                           .string();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
    file.close();
    if (!file) {
        std::fprintf(stderr, "zqhost: warning: %s: cannot be written\n", path.c_str());
    }
}
