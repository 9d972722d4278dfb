// The order of the side-file deletions, watched with inotify (Linux only).
#include "MotionLensTestSupport.h"

#include <sys/inotify.h>
#include <unistd.h>

TEST_F(MotionLensTest, SideFilesAreDeletedInOrderBeforeTheLaunch) {
    RegisterViewer("viewer.exe %1");
    ZqPointer<MotionLensPlugin> plugin = new MotionLensPlugin;
    std::string stem = Path("MOTIONLENSTEMP");
    for (const char* suffix : {".set", ".map", "_Anim.h", ".KFM", ".other"}) {
        Touch(stem + suffix);
    }
    int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, m_folder.Root().c_str(), IN_DELETE), 0);
    std::vector<std::string> deleted;
    m_launcher.onLaunch = [&] {
        alignas(inotify_event) char buffer[4096];
        ssize_t length = read(watch, buffer, sizeof(buffer));
        for (ssize_t at = 0; at < length;) {
            auto* event = reinterpret_cast<inotify_event*>(buffer + at);
            deleted.push_back(event->name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    };
    EXPECT_TRUE(plugin->LaunchViewer(Text(stem + ".KFM")));
    close(watch);
    EXPECT_EQ(deleted, (std::vector<std::string>{"MOTIONLENSTEMP.set", "MOTIONLENSTEMP.map",
                                                 "MOTIONLENSTEMP_Anim.h"}));
    EXPECT_TRUE(Exists(stem + ".KFM"));
    EXPECT_TRUE(Exists(stem + ".other"));
    EXPECT_EQ(m_launcher.commandLines, std::vector<std::string>{"viewer.exe " + stem + ".KFM"});
    EXPECT_EQ(m_launcher.showCommands, std::vector<int>{1});
}
