#include "RecordingLauncher.h"

RecordingLauncher::RecordingLauncher() : m_previous(ZqPlatform::SetLauncher(this)) {}

RecordingLauncher::~RecordingLauncher() {
    ZqPlatform::SetLauncher(m_previous);
}

int RecordingLauncher::Launch(const char* commandLine, int showCommand) {
    commandLines.push_back(commandLine);
    showCommands.push_back(showCommand);
    if (onLaunch) {
        onLaunch();
    }
    return result;
}
