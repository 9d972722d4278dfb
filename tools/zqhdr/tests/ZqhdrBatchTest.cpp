// zqhdr batch, run as a process: folders, failures that let the rest go on,
// its lines on a terminal and elsewhere, and interruption.
#include "ZqhdrTestSupport.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <pty.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::string ZqhdrProgram() {
    return std::string(ZQ_BUILD_DIR) + "/bin/zqhdr";
}

// Every file below `folder`, relative to it.
std::vector<std::string> FilesBelow(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_directory()) {
            names.push_back(entry.path().lexically_relative(folder).string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> PartialFilesBelow(const fs::path& folder) {
    std::vector<std::string> partial;
    for (const std::string& name : FilesBelow(folder)) {
        if (name.find(".zqhdr-partial") != std::string::npos) {
            partial.push_back(name);
        }
    }
    return partial;
}

} // namespace

class ZqhdrBatchTest : public ZqhdrTest {
protected:
    void SetUp() override {
        ZqhdrTest::SetUp();
        fs::create_directories(m_folder.Root() / "in" / "sub" / "deeper");
    }
    // Writes an image below in/ and answers its bytes.
    Bytes Image(const std::string& name, const char* resolution, unsigned rows, unsigned columns) {
        Bytes image = Concat(Header(resolution), RlePixels(rows, columns));
        Write("in/" + name, image);
        return image;
    }
};

TEST_F(ZqhdrBatchTest, AFolderWithACutOffFileAndASpaceInAName) {
    Bytes a = Image("a.hdr", "-Y 3 +X 4", 3, 4);
    Bytes b = Image("sub/B.HDR", "+Y 2 -X 5", 2, 5);
    Bytes spaced = Image("sub/deeper/sky at dusk.Hdr", "-Y 4 -X 3", 4, 3);
    Bytes whole = Concat(Header("-Y 4 +X 4"), RlePixels(4, 4));
    Write("in/sub/cut.hdr", Bytes(whole.begin(), whole.end() - 7));
    Write("in/notes.txt", Concat("not an image"));

    EXPECT_EQ(Zqhdr("batch " + Path("in") + " --to raw --out " + Path("out") + " --jobs 2"), 1);
    EXPECT_EQ(FilesBelow(m_folder.Root() / "out"),
              (std::vector<std::string>{"a.raw", "sub/B.raw", "sub/deeper/sky at dusk.raw"}));
    EXPECT_EQ(ReadText(Path("out/a.raw")), Decoded(a));
    EXPECT_EQ(ReadText(Path("out/sub/B.raw")), Decoded(b));
    EXPECT_EQ(ReadText(Path("out/sub/deeper/sky at dusk.raw")), Decoded(spaced));

    // Not a terminal: one line per file, the failure with its reason, a summary.
    std::vector<std::string> lines;
    std::istringstream text(m_err);
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 5u) << m_err;
    std::sort(lines.begin(), lines.end() - 1);
    EXPECT_EQ(lines[0], "zqhdr: " + Path("in/a.hdr") + " -> " + Path("out/a.raw"));
    EXPECT_EQ(lines[1], "zqhdr: " + Path("in/sub/B.HDR") + " -> " + Path("out/sub/B.raw"));
    EXPECT_EQ(lines[2], "zqhdr: " + Path("in/sub/cut.hdr") +
                            ": pixel data refused (truncated or malformed) in rows 0 to 3");
    EXPECT_EQ(lines[3], "zqhdr: " + Path("in/sub/deeper/sky at dusk.Hdr") + " -> " +
                            Path("out/sub/deeper/sky at dusk.raw"));
    EXPECT_EQ(lines[4].rfind("zqhdr: 3 of 4 files converted, 1 failed; 0.0 megapixels in ", 0), 0u)
        << lines[4];
    EXPECT_TRUE(m_out.empty());
}

TEST_F(ZqhdrBatchTest, FilesAndFoldersToEveryKind) {
    Bytes a = Image("a.hdr", "-Y 3 +X 4", 3, 4);
    Bytes c = Image("sub/deeper/c.hdr", "+Y 2 +X 2", 2, 2);
    for (const std::string kind : {"raw", "exr", "png"}) {
        ASSERT_EQ(Zqhdr("batch '" + Path("in/a.hdr") + "' " + Path("in/sub") + " --to " + kind +
                        " --out " + Path(kind) + " --exposure -1"),
                  0)
            << m_err;
        EXPECT_EQ(FilesBelow(m_folder.Root() / kind),
                  (std::vector<std::string>{"a." + kind, "deeper/c." + kind}));
        EXPECT_NE(m_err.find("zqhdr: 2 of 2 files converted; "), std::string::npos) << m_err;
    }
    // The exposure applies to the values of every kind.
    EXPECT_EQ(ReadText(Path("raw/deeper/c.raw")), Scaled(Decoded(c), 0.5f));
}

TEST_F(ZqhdrBatchTest, FailuresOfTheirOwnAndTwoInputsForOneOutput) {
    Image("a.hdr", "-Y 1 +X 1", 1, 1);
    Image("sub/a.hdr", "-Y 1 +X 2", 1, 2);
    Write("in/refused.hdr", Concat("#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 1 +X 1\n"));
    EXPECT_EQ(Zqhdr("batch " + Path("in/a.hdr") + " " + Path("in/sub/a.hdr") + " " +
                    Path("in/refused.hdr") + " " + Path("absent.hdr") + " --to raw --out " +
                    Path("out")),
              1);
    EXPECT_NE(m_err.find("zqhdr: " + Path("absent.hdr") +
                         ": cannot be opened: No such file or directory\n"),
              std::string::npos);
    EXPECT_NE(m_err.find("zqhdr: " + Path("in/sub/a.hdr") + ": its output " + Path("out/a.raw") +
                         " comes from another input too\n"),
              std::string::npos);
    EXPECT_NE(m_err.find("zqhdr: " + Path("in/refused.hdr") +
                         ": not a Radiance RGBE image the reader accepts (header refused)\n"),
              std::string::npos);
    EXPECT_NE(m_err.find("zqhdr: 1 of 4 files converted, 3 failed; "), std::string::npos);
    EXPECT_EQ(FilesBelow(m_folder.Root() / "out"), (std::vector<std::string>{"a.raw"}));
    EXPECT_EQ(fs::file_size(Path("out/a.raw")), 8u);
}

TEST_F(ZqhdrBatchTest, AFolderThatCannotBeReadIsAFailureOfItsOwn) {
    Image("a.hdr", "-Y 1 +X 1", 1, 1);
    Image("sub/b.hdr", "-Y 1 +X 1", 1, 1);
    // Folder permissions bind everyone but root, so as root the tool runs as
    // nobody, for whom the scratch folder opens and the output folder is open.
    const std::string user =
        geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    fs::permissions(m_folder.Root(), fs::perms(0755));
    fs::create_directory(Path("out"));
    fs::permissions(Path("out"), fs::perms::all);
    fs::permissions(Path("in/sub"), fs::perms::none);
    EXPECT_EQ(Zqhdr("batch " + Path("in") + " --to raw --out " + Path("out"), user), 1) << m_err;
    fs::permissions(Path("in/sub"), fs::perms(0755));
    EXPECT_NE(m_err.find(Path("in/sub") + ": cannot be read\n"), std::string::npos) << m_err;
    EXPECT_EQ(FilesBelow(m_folder.Root() / "out"), std::vector<std::string>{"a.raw"});
}

TEST_F(ZqhdrBatchTest, UsageErrors) {
    Image("a.hdr", "-Y 1 +X 1", 1, 1);
    const std::string in = Path("in");
    for (const std::string& arguments : std::vector<std::string>{
             "batch", "batch " + in + " --to raw", "batch " + in + " --out " + Path("o"),
             "batch --to raw --out o", "batch " + in + " --to jpg --out o",
             "batch " + in + " --to raw --out o --jobs 0",
             "batch " + in + " --to raw --out o --jobs two",
             "batch " + in + " --to raw --out o --exposure",
             "batch " + in + " --to raw --out o --fast"}) {
        EXPECT_EQ(Zqhdr(arguments), 2) << arguments;
        EXPECT_EQ(m_err.rfind("zqhdr: ", 0), 0u) << m_err;
        EXPECT_NE(m_err.find("usage: zqhdr batch INPUT..."), std::string::npos) << m_err;
    }
    EXPECT_FALSE(fs::exists(Path("o")));
}

TEST_F(ZqhdrBatchTest, ATerminalGetsOneProgressLine) {
    for (int i = 0; i < 6; ++i) {
        Image("image" + std::to_string(i) + ".hdr", "-Y 8 +X 8", 8, 8);
    }
    const std::string program = ZqhdrProgram();
    const std::string in = Path("in"), out = Path("out");
    int terminal = -1;
    pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(program.c_str(), program.c_str(), "batch", in.c_str(), "--to", "png", "--out",
              out.c_str(), "--jobs", "3", static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string shown;
    char buffer[4096];
    for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR);) {
        shown.append(buffer, n > 0 ? size_t(n) : 0);
    }
    close(terminal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << shown;
    EXPECT_NE(shown.find("\r\033[Kzqhdr: 6 of 6 files, "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" MP/s, "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" left"), std::string::npos) << shown;
    EXPECT_EQ(shown.find(" -> "), std::string::npos) << "no per-file lines on a terminal";
    EXPECT_NE(shown.find("\r\033[Kzqhdr: 6 of 6 files converted; "), std::string::npos) << shown;
    EXPECT_EQ(FilesBelow(m_folder.Root() / "out").size(), 6u);
}

TEST_F(ZqhdrBatchTest, StopSignalsLeaveNoTemporaryFilesAndIgnoredOnesStayIgnored) {
    // One input is a pipe that stops half way: its conversion has begun and
    // waits for more when the signal comes. A signal the caller ignored (as
    // nohup does) is not one: the conversion goes on and fails on the cut-off
    // input once the pipe closes.
    Image("a.hdr", "-Y 2 +X 2", 2, 2);
    const std::string out = Path("out");
    fs::create_directories(out);
    struct Case {
        std::vector<std::string> words; // "PIPE" stands for the pipe's path
        int signal;
        bool ignored;
    } cases[] = {
        {{"batch", "PIPE", Path("in/a.hdr"), "--to", "raw", "--out", out, "--jobs", "2"},
         SIGINT,
         false},
        {{"convert", "PIPE", out + "/slow.png"}, SIGTERM, false},
        {{"batch", "PIPE", "--to", "exr", "--out", out}, SIGHUP, true},
        {{"convert", "PIPE", out + "/slow.raw"}, SIGHUP, true},
    };
    int number = 0;
    for (Case& test : cases) {
        const std::string what = test.words[0] + " " + strsignal(test.signal);
        const std::string pipe = Path("slow" + std::to_string(++number) + ".hdr");
        ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
        const std::string program = ZqhdrProgram(), log = Path("err.txt");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        std::vector<std::string> words = {program};
        for (const std::string& word : test.words) {
            words.push_back(word == "PIPE" ? pipe : word);
        }
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(&word[0]);
        }
        argv.push_back(nullptr);
        // A program inherits the signals its starter ignores.
        struct sigaction ignore = {}, previous = {};
        ignore.sa_handler = test.ignored ? SIG_IGN : SIG_DFL;
        sigaction(test.signal, &ignore, &previous);
        pid_t child = -1;
        int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
        sigaction(test.signal, &previous, nullptr);
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(spawned, 0) << what;

        // More than the stream's first read, so that the header is parsed.
        Bytes image = Concat(Header("-Y 1024 +X 1024"), FlatPixels(1024, 1024));
        int writer = open(pipe.c_str(), O_WRONLY);
        ASSERT_GE(writer, 0);
        ASSERT_EQ(write(writer, image.data(), 1 << 20), 1 << 20);
        // Wait (without a time limit of its own: ctest's is enough) for the
        // temporary output to appear.
        while (PartialFilesBelow(out).empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_EQ(kill(child, test.signal), 0);
        if (test.ignored) {
            // Let the signal arrive before the pipe closes.
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        close(writer);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        if (test.ignored) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << what << ": " << status;
            EXPECT_NE(ReadText(log).find("truncated"), std::string::npos)
                << what << ": " << ReadText(log);
        } else {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == test.signal)
                << what << ": " << status;
            EXPECT_NE(ReadText(log).find("zqhdr: interrupted\n"), std::string::npos)
                << what << ": " << ReadText(log);
        }
        EXPECT_EQ(PartialFilesBelow(out), std::vector<std::string>{}) << what;
    }
}

// AddressSanitizer reserves more address space than the limit below allows.
#if !defined(__SANITIZE_ADDRESS__)
TEST_F(ZqhdrBatchTest, AnImageTooLargeForMemoryFailsAloneAndLeavesNoTemporaryFile) {
    // Bottom to top, so the PNG holds its whole 8-bit preview: 1.9 GB, and the
    // process may have 1 GB. Only the first band's rows are there.
    Write("in/sub/huge.hdr", Concat(Header("+Y 20000 +X 32000"), FlatPixels(66, 32000)));
    Bytes small = Image("small.hdr", "-Y 2 +X 2", 2, 2);
    EXPECT_EQ(Zqhdr("batch " + Path("in") + " --to png --out " + Path("out") + " --jobs 1",
                    "ulimit -v 1048576; "),
              1);
    EXPECT_NE(m_err.find(Path("in/sub/huge.hdr") + ": out of memory\n"), std::string::npos)
        << m_err;
    EXPECT_EQ(FilesBelow(m_folder.Root() / "out"), std::vector<std::string>{"small.png"});
}
#endif

// Writes that fail for a file size limit fail their file, not the process.
TEST_F(ZqhdrBatchTest, AFileSizeLimitFailsTheFileAndLeavesNoTemporaryFile) {
    Write("in/big.hdr", Concat(Header("-Y 256 +X 1024"), FlatPixels(256, 1024)));
    for (const std::string& command :
         {"convert " + Path("in/big.hdr") + " " + Path("big.raw"),
          "batch " + Path("in/big.hdr") + " --to raw --out " + Path("out")}) {
        EXPECT_EQ(Zqhdr(command, "ulimit -f 256; "), 1) << command << ": " << m_err;
        EXPECT_NE(m_err.find("cannot be written"), std::string::npos) << command << ": " << m_err;
        EXPECT_EQ(PartialFilesBelow(m_folder.Root()), std::vector<std::string>{}) << command;
    }
}

TEST_F(ZqhdrBatchTest, JsonGivesEveryFileALineAndEndsWithASummary) {
    Image("a.hdr", "-Y 2 +X 3", 2, 3);
    Write("in/cut.hdr", Concat(Header("-Y 4 +X 4"), {2, 2, 0, 4, 4, 1}));
    ASSERT_EQ(Zqhdr("batch " + Path("in/a.hdr") + " " + Path("in/cut.hdr") + " " +
                    Path("absent.hdr") + " --to raw --out " + Path("out") + " --jobs 1 --json"),
              1);
    std::istringstream lines(m_out);
    std::vector<nlohmann::json> objects;
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(nlohmann::json::parse(line));
    }
    ASSERT_EQ(objects.size(), 4u) << m_out;
    // The planning failure first, then the jobs in the order they ended.
    EXPECT_EQ(objects[0],
              nlohmann::json({{"file", Path("absent.hdr")},
                              {"status", "failed"},
                              {"error", "cannot be opened: No such file or directory"}}));
    EXPECT_EQ(objects[1], nlohmann::json({{"file", Path("in/a.hdr")},
                                          {"output", Path("out/a.raw")},
                                          {"status", "converted"},
                                          {"pixels", 6}}));
    EXPECT_EQ(objects[2]["file"], Path("in/cut.hdr"));
    EXPECT_EQ(objects[2]["status"], "failed");
    EXPECT_EQ(objects[2]["error"], "pixel data refused (truncated or malformed) in rows 0 to 3");
    const nlohmann::json& summary = objects[3]["summary"];
    EXPECT_EQ(summary["files"], 3);
    EXPECT_EQ(summary["converted"], 1);
    EXPECT_EQ(summary["failed"], 2);
    EXPECT_EQ(summary["skipped"], 0);
    EXPECT_EQ(summary["pixels"], 6);
}

TEST_F(ZqhdrBatchTest, SkipExistingLeavesOnlyOutputsNewerThanTheirInputs) {
    Image("a.hdr", "-Y 2 +X 3", 2, 3);
    Image("b.hdr", "-Y 2 +X 3", 2, 3);
    Image("c.hdr", "-Y 2 +X 3", 2, 3);
    const std::string run = "batch " + Path("in/a.hdr") + " " + Path("in/b.hdr") + " " +
                            Path("in/c.hdr") + " --to raw --out " + Path("out") + " --jobs 1";
    ASSERT_EQ(Zqhdr(run), 0) << m_err;
    // a's output is older than its input, b's newer, c's missing.
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(Path("out/a.raw"), now - std::chrono::hours(2));
    fs::last_write_time(Path("in/a.hdr"), now - std::chrono::hours(1));
    fs::last_write_time(Path("out/b.raw"), now);
    fs::last_write_time(Path("in/b.hdr"), now - std::chrono::hours(1));
    fs::remove(Path("out/c.raw"));
    m_folder.Write("out/b.raw", "kept");
    fs::last_write_time(Path("out/b.raw"), now);
    ASSERT_EQ(Zqhdr(run + " --skip-existing"), 0) << m_err;
    EXPECT_NE(m_err.find("zqhdr: 2 of 3 files converted, 1 skipped as up to date; "),
              std::string::npos)
        << m_err;
    EXPECT_EQ(ReadText(Path("out/b.raw")), "kept");
    EXPECT_EQ(fs::file_size(Path("out/a.raw")), 48u);
    EXPECT_EQ(fs::file_size(Path("out/c.raw")), 48u);
    // Without the option, every output is made again.
    ASSERT_EQ(Zqhdr(run), 0) << m_err;
    EXPECT_EQ(fs::file_size(Path("out/b.raw")), 48u);
}
