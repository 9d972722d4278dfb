#pragma once

#include "ZqPlatform.h"

#include <functional>
#include <string>
#include <vector>

// Records launches instead of starting programs, from its construction to its
// destruction, when the previous launcher comes back. Each launch answers
// `result` after running `onLaunch`, if set.
class RecordingLauncher : public ZqPlatform::Launcher {
public:
    RecordingLauncher();
    ~RecordingLauncher() override;
    RecordingLauncher(const RecordingLauncher&) = delete;
    RecordingLauncher& operator=(const RecordingLauncher&) = delete;

    int Launch(const char* commandLine, int showCommand) override;

    int result = ZqPlatform::LAUNCH_STARTED;
    std::function<void()> onLaunch;
    std::vector<std::string> commandLines;
    std::vector<int> showCommands;

private:
    ZqPlatform::Launcher* m_previous;
};
