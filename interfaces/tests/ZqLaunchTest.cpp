// The real POSIX launcher: splitting, WinExec's answers, no waiting, no zombie.
#include "RecordingLauncher.h"
#include "ScratchFolder.h"
#include "ZqPlatformTesting.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class LaunchTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& contents, bool executable) {
        std::string path = m_folder.Write(name, contents);
        chmod(path.c_str(), executable ? 0755 : 0644);
        return path;
    }
    // Waits up to ten seconds for `condition`.
    template <class Condition> static bool Eventually(Condition condition) {
        for (int i = 0; i < 1000; ++i) {
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    static std::string ProcessState(const std::string& pid) {
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string line;
        std::getline(stat, line);
        size_t close = line.rfind(')');
        return close == std::string::npos || close + 2 >= line.size() ? ""
                                                                      : line.substr(close + 2, 1);
    }

    ScratchFolder m_folder;
};

std::string ReadFirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

} // namespace

TEST(SplitCommandLine, FollowsWindowsRules) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    } cases[] = {
        {"viewer.exe C:\\Data\\a.KFM", {"viewer.exe", "C:\\Data\\a.KFM"}},
        {"\"C:\\Program Files\\v.exe\" \"%1\"", {"C:\\Program Files\\v.exe", "%1"}},
        {"  prog   a\tb  ", {"prog", "a", "b"}},
        {"prog \"a b\"c d", {"prog", "a bc", "d"}},
        {"prog a\\\\b", {"prog", "a\\\\b"}},
        {"prog a\\\"b", {"prog", "a\"b"}},
        {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},
        {"prog \"a\"\"b\"", {"prog", "a\"b"}},
        {"prog \"\"", {"prog", ""}},
        {"prog trailing\\", {"prog", "trailing\\"}},
        {"C:\\dir\\\"x y\" z", {"C:\\dir\\x y", "z"}},
        {"", {}},
        {"   ", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZqPlatform::SplitCommandLine(c.line), c.words) << c.line;
    }
    EXPECT_TRUE(ZqPlatform::SplitCommandLine(nullptr).empty());
}

TEST_F(LaunchTest, FailuresAnswerWithWindowsValues) {
    std::string notExecutable = Write("plain.txt", "#!/bin/sh\nexit 0\n", false);
    std::string badFormat = Write("garbage",
                                  "\x7f"
                                  "ELF but not really",
                                  true);
    struct Case {
        std::string line;
        int expected;
    } cases[] = {
        {m_folder.Path("missing-program"), ZqPlatform::LAUNCH_FILE_NOT_FOUND},
        {"zq-no-such-program-anywhere --flag", ZqPlatform::LAUNCH_FILE_NOT_FOUND},
        {m_folder.Path("no-folder/program"), ZqPlatform::LAUNCH_PATH_NOT_FOUND},
        {notExecutable, ZqPlatform::LAUNCH_ACCESS_DENIED},
        {m_folder.Root().string(), ZqPlatform::LAUNCH_ACCESS_DENIED},
        {badFormat, ZqPlatform::LAUNCH_BAD_FORMAT},
        {"", ZqPlatform::LAUNCH_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ZqPlatform::LaunchProgram(c.line.c_str(), ZqPlatform::SHOW_NORMAL), c.expected)
            << c.line;
    }
}

TEST_F(LaunchTest, StartsWithoutWaitingAndPassesTheWords) {
    std::string pidFile = m_folder.Path("pid");
    std::string release = m_folder.Path("release");
    std::string args = m_folder.Path("args");
    std::string program =
        Write("waits",
              "#!/bin/sh\nprintf '%s|' \"$@\" > " + args + "\necho $$ > " + pidFile +
                  "\nwhile [ ! -f " + release + " ]; do sleep 0.05; done\n",
              true);
    int result = ZqPlatform::LaunchProgram(
        ("\"" + program + "\" one \"two words\" C:\\x.KFM").c_str(), ZqPlatform::SHOW_NORMAL);
    EXPECT_GT(result, 31);
    // The call came back while the program is still waiting for us.
    ASSERT_TRUE(Eventually([&] { return !ReadFirstLine(pidFile).empty(); }));
    std::string pid = ReadFirstLine(pidFile);
    EXPECT_NE(ProcessState(pid), "");
    EXPECT_NE(ProcessState(pid), "Z");
    EXPECT_EQ(ReadFirstLine(args), "one|two words|C:\\x.KFM|");

    // Once it ends, it is reaped: no zombie stays behind.
    std::ofstream(release) << "go";
    EXPECT_TRUE(Eventually([&] { return ProcessState(pid).empty(); })) << ProcessState(pid);
}

TEST_F(LaunchTest, ProgramsAreFoundInPath) {
    std::string marker = m_folder.Path("ran");
    Write("zq-path-program", "#!/bin/sh\necho ran > " + marker + "\n", true);
    std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", (m_folder.Root().string() + ":" + oldPath).c_str(), 1);
    int result = ZqPlatform::LaunchProgram("zq-path-program", ZqPlatform::SHOW_NORMAL);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_GT(result, 31);
    EXPECT_TRUE(Eventually([&] { return ReadFirstLine(marker) == "ran"; }));
}

TEST_F(LaunchTest, PathLookupSkipsFilesThatCannotBeRun) {
    fs::create_directory(m_folder.Root() / "first");
    fs::create_directory(m_folder.Root() / "second");
    std::string marker = m_folder.Path("ran");
    Write("first/zq-path-program", "#!/bin/sh\necho first > " + marker + "\n", false);
    Write("second/zq-path-program", "#!/bin/sh\necho second > " + marker + "\n", true);
    std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
    std::string first = m_folder.Path("first");
    setenv("PATH", (first + ":" + m_folder.Path("second") + ":" + oldPath).c_str(), 1);
    int result = ZqPlatform::LaunchProgram("zq-path-program", ZqPlatform::SHOW_NORMAL);
    // With only the file that cannot be run, that is what the launch says.
    setenv("PATH", (first + ":" + oldPath).c_str(), 1);
    int denied = ZqPlatform::LaunchProgram("zq-path-program", ZqPlatform::SHOW_NORMAL);
    setenv("PATH", oldPath.c_str(), 1);
    EXPECT_GT(result, 31);
    EXPECT_TRUE(Eventually([&] { return ReadFirstLine(marker) == "second"; }));
    EXPECT_EQ(denied, ZqPlatform::LAUNCH_ACCESS_DENIED);
}

TEST_F(LaunchTest, TheProgramGetsNoStandardInput) {
    std::string seen = m_folder.Path("seen");
    std::string program =
        Write("reads",
              "#!/bin/sh\nif read line; then echo \"read $line\"; else echo none; fi > " + seen +
                  ".part\nmv " + seen + ".part " + seen + "\n",
              true);
    // Our own standard input holds a line the program must not see.
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    ASSERT_EQ(write(pipeEnds[1], "secret\n", 7), 7);
    close(pipeEnds[1]);
    int savedInput = dup(STDIN_FILENO);
    dup2(pipeEnds[0], STDIN_FILENO);
    close(pipeEnds[0]);
    int result = ZqPlatform::LaunchProgram(program.c_str(), ZqPlatform::SHOW_NORMAL);
    dup2(savedInput, STDIN_FILENO);
    close(savedInput);
    EXPECT_GT(result, 31);
    EXPECT_TRUE(Eventually([&] { return fs::exists(seen); }));
    EXPECT_EQ(ReadFirstLine(seen), "none");
}

TEST_F(LaunchTest, StandardDescriptorsTheHostLacksAreNullDevices) {
    // The program names what its descriptors 0, 1 and 2 are, each looked at
    // from a subshell so that no redirection of its own is seen.
    std::string seen = m_folder.Path("seen");
    std::string names;
    for (const char* fd : {"0", "1", "2"}) {
        names += "n" + std::string(fd) + "=$(readlink /proc/$$/fd/" + fd + " || echo closed)\n";
    }
    std::string program =
        Write("names",
              "#!/bin/sh\n" + names + "printf '%s\\n' \"$n0\" \"$n1\" \"$n2\" > " + seen +
                  ".part\nmv " + seen + ".part " + seen + "\n",
              true);
    auto own = [](int fd) { return fs::read_symlink("/proc/self/fd/" + std::to_string(fd)); };
    const std::string output = own(STDOUT_FILENO).string();
    const std::string errors = own(STDERR_FILENO).string();
    struct Case {
        std::vector<int> closed; // in the host while it launches
        std::string expected;
    } cases[] = {
        {{}, "/dev/null\n" + output + "\n" + errors + "\n"},
        {{STDIN_FILENO}, "/dev/null\n" + output + "\n" + errors + "\n"},
        {{STDOUT_FILENO, STDERR_FILENO}, "/dev/null\n/dev/null\n/dev/null\n"},
        {{STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}, "/dev/null\n/dev/null\n/dev/null\n"},
    };
    for (const Case& c : cases) {
        fs::remove(seen);
        std::vector<int> saved;
        for (int fd : c.closed) {
            saved.push_back(fcntl(fd, F_DUPFD_CLOEXEC, 10)); // clear of those closed next
        }
        for (int fd : c.closed) {
            close(fd);
        }
        int result = ZqPlatform::LaunchProgram(program.c_str(), ZqPlatform::SHOW_NORMAL);
        for (size_t i = 0; i < c.closed.size(); ++i) {
            dup2(saved[i], c.closed[i]);
            close(saved[i]);
        }
        EXPECT_GT(result, 31);
        EXPECT_TRUE(Eventually([&] { return fs::exists(seen); }));
        EXPECT_EQ(ReadText(seen), c.expected) << c.closed.size() << " closed";
    }
}

// AddressSanitizer reserves far more address space than the limit below.
#if !defined(__SANITIZE_ADDRESS__)
TEST_F(LaunchTest, WhenNoReapingThreadCanBeMadeNothingIsStarted) {
    std::string marker = m_folder.Path("ran");
    std::string program = Write("marks", "#!/bin/sh\necho ran > " + marker + "\n", true);
    pid_t tester = fork();
    ASSERT_GE(tester, 0);
    if (tester == 0) {
        // Too little address space left for a thread's stack, enough for the
        // rest of the launch.
        std::ifstream statm("/proc/self/statm");
        unsigned long pages = 0;
        statm >> pages;
        rlim_t limit = rlim_t(pages) * sysconf(_SC_PAGESIZE) + (rlim_t(1) << 20);
        struct rlimit cap = {limit, limit};
        setrlimit(RLIMIT_AS, &cap);
        // Stacks of threads that have ended are kept for reuse: take them all.
        std::mutex mutex;
        std::condition_variable never;
        std::vector<std::thread> held;
        try {
            for (int i = 0; i < 1000; ++i) {
                held.emplace_back([&] {
                    std::unique_lock<std::mutex> lock(mutex);
                    never.wait(lock, [] { return false; });
                });
            }
        } catch (const std::system_error&) {
        }
        _exit(ZqPlatform::LaunchProgram(program.c_str(), ZqPlatform::SHOW_NORMAL));
    }
    int status = 0;
    ASSERT_EQ(waitpid(tester, &status, 0), tester);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), ZqPlatform::LAUNCH_OUT_OF_RESOURCES);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(marker)) << "a program reported as not started ran";
}
#endif

TEST(Launcher, AnInstalledLauncherTakesOver) {
    ZqPlatform::Launcher* before = ZqPlatform::SetLauncher(nullptr);
    ZqPlatform::SetLauncher(before);
    {
        RecordingLauncher recorder;
        recorder.result = 2;
        EXPECT_EQ(ZqPlatform::LaunchProgram("anything at all", 1), 2);
        EXPECT_EQ(ZqPlatform::SetLauncher(&recorder), &recorder);
        EXPECT_EQ(recorder.commandLines, std::vector<std::string>{"anything at all"});
        EXPECT_EQ(recorder.showCommands, std::vector<int>{1});
    }
    // Gone with the recorder: the launcher before it is back.
    EXPECT_EQ(ZqPlatform::SetLauncher(before), before);
}
