// "-" for standard input and output.
#include "ZqhdrTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

TEST_F(ZqhdrTest, StandardOutputGetsTheBytesAFileWouldHold) {
    // Top to bottom goes straight out; bottom to top (.raw) and OpenEXR go
    // through a spool file, which is gone afterwards.
    fs::create_directories(Path("spool"));
    const std::string tmp = "TMPDIR=" + Path("spool") + " ";
    for (const char* resolution : {"-Y 300 +X 200", "+Y 300 -X 200"}) {
        std::string in = Write("in.hdr", Concat(Header(resolution), RlePixels(300, 200)));
        for (const std::string kind : {"raw", "exr", "png"}) {
            ASSERT_EQ(Zqhdr("convert " + in + " " + Path("file." + kind)), 0) << m_err;
            ASSERT_EQ(ZqhdrRedirected("convert - - --to " + kind,
                                      "<" + in + " >" + Path("out." + kind), tmp),
                      0)
                << m_err;
            EXPECT_TRUE(ReadText(Path("out." + kind)) == ReadText(Path("file." + kind)))
                << resolution << " " << kind;
            EXPECT_TRUE(fs::is_empty(Path("spool"))) << resolution << " " << kind;
        }
    }
}

TEST_F(ZqhdrTest, StandardInputReadsAsAFileDoes) {
    const Bytes image = Concat(Header("-Y 3 +X 4"), RlePixels(3, 4));
    std::string in = Write("in.hdr", image);
    ASSERT_EQ(Zqhdr("info --json --stats " + in), 0) << m_err;
    nlohmann::json fromFile = nlohmann::json::parse(m_out);
    ASSERT_EQ(ZqhdrRedirected("info --json --stats -", "<" + in), 0) << m_err;
    nlohmann::json fromInput = nlohmann::json::parse(m_out);
    EXPECT_EQ(fromInput["file"], "-");
    fromInput["file"] = in;
    EXPECT_EQ(fromInput, fromFile);
    ASSERT_EQ(ZqhdrRedirected("convert - " + Path("out.raw"), "<" + in), 0) << m_err;
    EXPECT_TRUE(ReadText(Path("out.raw")) == Decoded(image));
}

TEST_F(ZqhdrTest, StandardOutputFailuresAndUsage) {
    std::string in = Write("in.hdr", Concat(Header("-Y 3 +X 4"), RlePixels(3, 4)));
    for (const std::string kind : {"raw", "exr", "png"}) {
        EXPECT_EQ(ZqhdrRedirected("convert " + in + " - --to " + kind, ">/dev/full"), 1) << kind;
        EXPECT_EQ(m_err.rfind("zqhdr: standard output: cannot be written: ", 0), 0u) << m_err;
    }
    EXPECT_EQ(Zqhdr("convert " + in + " -"), 2);
    EXPECT_NE(m_err.find("writing to standard output needs --to raw|exr|png"), std::string::npos)
        << m_err;
    EXPECT_EQ(Zqhdr("convert " + in + " " + Path("out.raw") + " --to png"), 2);
    EXPECT_FALSE(fs::exists(Path("out.raw")));
}
