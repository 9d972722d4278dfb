// What zqhdr must never do: report a success that is not one, write through a
// name someone planted, or let a file's bytes act on the terminal.
#include "BandedReader.h"
#include "ZqhdrTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

const char* const kOutputs[] = {"out.raw", "out.exr", "out.png"};

} // namespace

TEST_F(ZqhdrTest, ATemporaryNamePlantedBeforehandIsNeverWrittenThrough) {
    std::string in = Write("in.hdr", Concat(Header("-Y 2 +X 3"), FlatPixels(2, 3)));
    const std::string victim = m_folder.Write("victim.txt", "keep me");
    for (const char* name : kOutputs) {
        // The name the temporary file once had, and a guess at today's.
        for (const std::string& planted :
             {std::string(".zqhdr-partial"), std::string(".zqhdr-partial-0")}) {
            fs::create_symlink(victim, Path(name + planted));
        }
        EXPECT_EQ(Zqhdr("convert " + in + " " + Path(name)), 0) << m_err;
        EXPECT_EQ(ReadText(victim), "keep me") << name;
        EXPECT_FALSE(fs::is_symlink(Path(name))) << name;
        EXPECT_GT(fs::file_size(Path(name)), 0u) << name;
    }
}

TEST_F(ZqhdrTest, AnOutputHasThePermissionsOfAnyNewFile) {
    std::string in = Write("in.hdr", Concat(Header("-Y 2 +X 3"), FlatPixels(2, 3)));
    for (const char* name : kOutputs) {
        for (const char* mask : {"022", "077"}) {
            const std::string out = Path(std::string(mask) + name);
            ASSERT_EQ(Zqhdr("convert " + in + " " + out, std::string("umask ") + mask + "; "), 0)
                << m_err;
            struct stat status = {};
            ASSERT_EQ(::stat(out.c_str(), &status), 0);
            EXPECT_EQ(status.st_mode & 0777, 0666u & ~std::stoul(mask, nullptr, 8)) << out;
        }
    }
}

TEST_F(ZqhdrTest, NothingFromAFileActsOnTheTerminal) {
    // A window title, a clear screen and a clipboard write in a header value;
    // an escape in a file's name; a byte that is not UTF-8.
    const std::string hostile = "\x1b]0;owned\x07\x1b[2J\x1b]52;c;ZXZpbA==\x07\xff";
    const std::string name = "in\x1b[31m\xc3\xa9.hdr";
    std::string in =
        m_folder.Write(name, std::string("#?RADIANCE\nSOFTWARE=") + hostile +
                                 "\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n\x01\x01\x01\x80");
    std::string second = Write("second.hdr", Concat(Header("-Y 1 +X 1"), FlatPixels(1, 1)));
    ASSERT_EQ(Zqhdr("info '" + in + "' " + second), 0) << m_err;
    EXPECT_EQ(m_out.find('\x1b'), std::string::npos) << m_out;
    EXPECT_EQ(m_out.find('\x07'), std::string::npos) << m_out;
    EXPECT_EQ(m_out.find('\xff'), std::string::npos) << m_out;
    // Valid UTF-8 shows as it is.
    EXPECT_NE(m_out.find("in\\x1B[31m\xc3\xa9.hdr:\n"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("header: SOFTWARE=\\x1B]0;owned\\x07\\x1B[2J"), std::string::npos)
        << m_out;

    // Failures and a batch's lines name the file the same way.
    const std::string cut = m_folder.Write("cut\x1b[2J.hdr", "#?RADIANCE\n\n-Y 4 +X 4\n\x02\x02");
    EXPECT_EQ(Zqhdr("convert '" + cut + "' " + Path("out.raw")), 1);
    EXPECT_EQ(m_err.find('\x1b'), std::string::npos) << m_err;
    EXPECT_EQ(Zqhdr("batch '" + in + "' '" + cut + "' --to raw --out " + Path("o")), 1);
    EXPECT_EQ(m_err.find('\x1b'), std::string::npos) << m_err;
    EXPECT_NE(m_err.find("cut\\x1B[2J.hdr"), std::string::npos) << m_err;
}

TEST_F(ZqhdrTest, AnEmptyImageGetsTheVerdictOfAWholeRead) {
    struct Case {
        const char* resolution;
        Bytes data;
        int status;
    };
    const std::vector<Case> cases = {
        {"-Y 2 +X 0", {}, 0},                       // no data at all
        {"-Y 2 +X 0", {2, 2, 0, 0, 2, 2, 0, 0}, 0}, // scanlines of no pixels
        {"-Y 2 +X 0", {2, 2, 0, 3}, 1},             // a scanline of three pixels
        {"-Y 0 +X 9", {1, 1, 1, 1}, 0},             // no rows: nothing is read
    };
    for (const Case& c : cases) {
        std::string in = Write("empty.hdr", Concat(Header(c.resolution), c.data));
        const std::string verdict = WholeDecodeSucceeds(ReadText(in)) ? "read" : "refused";
        EXPECT_EQ(verdict, c.status == 0 ? "read" : "refused") << c.resolution;
        EXPECT_EQ(Zqhdr("convert " + in + " " + Path("empty.raw")), c.status)
            << c.resolution << ": " << m_err;
        EXPECT_EQ(fs::exists(Path("empty.raw")), c.status == 0) << c.resolution;
        EXPECT_EQ(Zqhdr("info --stats " + in), c.status) << c.resolution << ": " << m_err;
        fs::remove(Path("empty.raw"));
    }
}

TEST_F(ZqhdrTest, ARefusalNamesTheBandOfRowsItWasRefusedIn) {
    // Rows of 1024 pixels; the data ends in the second band, which holds the
    // last rows, or the first ones when the file runs bottom to top.
    const unsigned bandRows = unsigned(BandedReader::kDefaultBandBytes / (1024 * 8));
    const unsigned height = bandRows + bandRows / 2;
    for (const std::string order : {"-Y ", "+Y "}) {
        Bytes image =
            Concat(Header(order + std::to_string(height) + " +X 1024"), RlePixels(height, 1024));
        image.resize(image.size() - 100);
        std::string in = Write("cut.hdr", image);
        EXPECT_EQ(Zqhdr("convert " + in + " " + Path("out.raw")), 1);
        const std::string rows =
            order == "-Y " ? std::to_string(bandRows) + " to " + std::to_string(height - 1)
                           : "0 to " + std::to_string(height - bandRows - 1);
        EXPECT_EQ(m_err, "zqhdr: " + in + ": pixel data refused (truncated or malformed) in rows " +
                             rows + "\n")
            << order;
    }
}
