// Runs the built zqhdr on small images and checks its outputs and answers.
#include "ZqhdrTestSupport.h"

#include <ImfRgbaFile.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

TEST_F(ZqhdrTest, InfoDescribesTheImage) {
    std::string rle = Write("rle.hdr", Concat(Header("+Y 2 -X 3"), RlePixels(2, 3)));
    EXPECT_EQ(Zqhdr("info " + rle), 0) << m_err;
    EXPECT_EQ(m_out, "width: 3\nheight: 2\npixel format: RGBA64 (four 16-bit floats)\n"
                     "encoding: run-length\n"
                     "orientation: +Y -X (rows bottom to top, columns right to left)\n"
                     "resolution: +Y 2 -X 3\n"
                     "header: FORMAT=32-bit_rle_rgbe\nheader: EXPOSURE=1.0\n");
    std::string flat = Write("flat.hdr", Concat(Header("-Y 2 +X 3"), FlatPixels(2, 3)));
    EXPECT_EQ(Zqhdr("info " + flat), 0);
    EXPECT_NE(m_out.find("encoding: flat\norientation: -Y +X (rows top to bottom, columns left "
                         "to right)\n"),
              std::string::npos);
    std::string refused =
        Write("refused.hdr", Concat("#?RADIANCE\nFORMAT=32-bit_rle_xyze\n\n-Y 1 +X 1\n"));
    EXPECT_EQ(Zqhdr("info " + refused), 1);
    EXPECT_EQ(m_err, "zqhdr: " + refused +
                         ": not a Radiance RGBE image the reader accepts (header refused)\n");
}

TEST_F(ZqhdrTest, RawIsThePixelDataExactly) {
    for (const char* resolution : {"-Y 3 +X 5", "+Y 3 -X 5"}) {
        Bytes image = Concat(Header(resolution), RlePixels(3, 5));
        std::string in = Write("in.hdr", image);
        EXPECT_EQ(Zqhdr("convert " + in + " " + Path("out.raw")), 0) << m_err;
        std::string raw = ReadText(Path("out.raw"));
        EXPECT_EQ(raw.size(), 3u * 5u * 8u);
        EXPECT_EQ(raw, Decoded(image)) << resolution;
    }
    // Half floats, little-endian, R G B A: 128,64,0,129 is 1.00390625, 0.50390625, 2^-8, 1.
    std::string one = Write("one.hdr", Concat(Header("-Y 1 +X 1"), {128, 64, 0, 129}));
    EXPECT_EQ(Zqhdr("convert " + one + " " + Path("one.raw")), 0);
    EXPECT_EQ(ReadText(Path("one.raw")), std::string("\x04\x3C\x08\x38\x00\x1C\x00\x3C", 8));
    std::string empty = Write("empty.hdr", Concat(Header("-Y 0 +X 9")));
    EXPECT_EQ(Zqhdr("convert " + empty + " " + Path("empty.raw")), 0) << m_err;
    EXPECT_TRUE(fs::exists(Path("empty.raw")));
    EXPECT_EQ(fs::file_size(Path("empty.raw")), 0u);
}

TEST_F(ZqhdrTest, ExrHoldsTheSameHalves) {
    Bytes image = Concat(Header("-Y 2 +X 3"), FlatPixels(2, 3));
    std::string in = Write("in.hdr", image);
    ASSERT_EQ(Zqhdr("convert " + in + " " + Path("out.EXR")), 0) << m_err;
    Imf::RgbaInputFile exr(Path("out.EXR").c_str());
    Imath::Box2i window = exr.dataWindow();
    ASSERT_EQ(window.max.x - window.min.x + 1, 3);
    ASSERT_EQ(window.max.y - window.min.y + 1, 2);
    std::vector<Imf::Rgba> pixels(6);
    exr.setFrameBuffer(pixels.data(), 1, 3);
    exr.readPixels(window.min.y, window.max.y);
    std::string expected = Decoded(image);
    EXPECT_EQ(0, std::memcmp(pixels.data(), expected.data(), expected.size()));
}

TEST_F(ZqhdrTest, PngPreviewWithExposure) {
    std::string in = Write("in.hdr", Concat(Header("-Y 2 +X 3"), FlatPixels(2, 3)));
    ASSERT_EQ(Zqhdr("convert " + in + " " + Path("a.png") + " --exposure -2.5"), 0) << m_err;
    ASSERT_EQ(Zqhdr("convert " + in + " " + Path("b.png")), 0) << m_err;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, Path("a.png").c_str()));
    EXPECT_EQ(png.width, 3u);
    EXPECT_EQ(png.height, 2u);
    png_image_free(&png);
    EXPECT_NE(ReadText(Path("a.png")), ReadText(Path("b.png"))) << "exposure changes the preview";
}

TEST_F(ZqhdrTest, PixelsBeyondHalfFloatRangeShowWhiteAtAnyExposure) {
    // 255.5 x 2^16 overflows binary16 to infinity; exponent 0 is black. At
    // -150 stops the scale itself underflows to zero.
    std::string in = Write("in.hdr", Concat(Header("-Y 1 +X 2"), {255, 255, 255, 152, 9, 9, 9, 0}));
    for (const char* exposure : {"0", "-150", "200"}) {
        ASSERT_EQ(Zqhdr("convert " + in + " " + Path("p.png") + " --exposure " + exposure), 0)
            << m_err;
        png_image png;
        std::memset(&png, 0, sizeof png);
        png.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_file(&png, Path("p.png").c_str()));
        png.format = PNG_FORMAT_RGB;
        std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(png));
        ASSERT_TRUE(png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr));
        EXPECT_EQ(rgb, (std::vector<unsigned char>{255, 255, 255, 0, 0, 0})) << exposure;
    }
}

TEST_F(ZqhdrTest, ToolAndReaderShareOneSizeRule) {
    // A row of 2^28 pixels of 8 bytes does not fit the signed 32-bit row
    // step: too large, told before any pixel memory is asked for.
    std::string wide = Write("wide.hdr", Concat(Header("-Y 1 +X 268435456"), {1, 1, 1, 1}));
    EXPECT_EQ(Zqhdr("convert " + wide + " " + Path("x.raw")), 1);
    EXPECT_EQ(m_err, "zqhdr: " + wide + ": image too large (268435456 x 1)\n");
    EXPECT_TRUE(Leftovers().empty());

    // Without rows there is no row step: an empty image, read and written.
    Bytes empty = Concat(Header("-Y 0 -X 2147483647"), {1, 1, 1, 1});
    std::string emptyPath = Write("empty.hdr", empty);
    EXPECT_EQ(Zqhdr("convert " + emptyPath + " " + Path("empty.raw")), 0) << m_err;
    EXPECT_EQ(ReadText(Path("empty.raw")), "");
    ZqMemoryFile file(empty.data(), empty.size());
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> data(reader.ReadFile(file, nullptr));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetWidth(0), 2147483647u);
    EXPECT_EQ(data->GetHeight(0), 0u);
}

TEST_F(ZqhdrTest, FailuresLeaveNoOutputBehind) {
    std::string truncated = Write("cut.hdr", Concat(Header("-Y 4 +X 4"), {2, 2, 0, 4, 4, 1}));
    EXPECT_EQ(Zqhdr("convert " + truncated + " " + Path("out.raw")), 1);
    EXPECT_EQ(m_err, "zqhdr: " + truncated +
                         ": pixel data refused (truncated or malformed) in rows 0 to 3\n");
    EXPECT_TRUE(Leftovers().empty());

    std::string good = Write("good.hdr", Concat(Header("-Y 1 +X 2"), FlatPixels(1, 2)));
    std::string unwritable = Path("missing-folder/out.raw");
    EXPECT_EQ(Zqhdr("convert " + good + " " + unwritable), 1);
    EXPECT_EQ(m_err.rfind("zqhdr: " + unwritable + ": cannot be written: ", 0), 0u) << m_err;
    EXPECT_EQ(std::count(m_err.begin(), m_err.end(), '\n'), 1);

    std::string empty = Write("empty.hdr", Concat(Header("-Y 0 +X 0")));
    EXPECT_EQ(Zqhdr("convert " + empty + " " + Path("empty.exr")), 1);
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_EQ(Zqhdr("convert " + Path("absent.hdr") + " " + Path("x.raw")), 1);
    EXPECT_EQ(m_err,
              "zqhdr: " + Path("absent.hdr") + ": cannot be opened: No such file or directory\n");
    std::string huge = Write("huge.hdr", Concat(Header("-Y 3000000000 +X 2"), {1, 1, 1, 1}));
    EXPECT_EQ(Zqhdr("convert " + huge + " " + Path("x.raw")), 1);
    EXPECT_TRUE(Leftovers().empty());
}

// AddressSanitizer reserves more address space than the limit below allows.
#if !defined(__SANITIZE_ADDRESS__)
TEST_F(ZqhdrTest, RunningOutOfMemoryIsReportedNotACrash) {
    // A band is at least one row: here 1.6 GB, and the process may have 1 GB.
    std::string huge = Write("huge.hdr", Concat(Header("-Y 2 +X 200000000"), {1, 1, 1, 1}));
    EXPECT_EQ(Zqhdr("convert " + huge + " " + Path("x.raw"), "ulimit -v 1048576; "), 1);
    EXPECT_EQ(m_err, "zqhdr: out of memory\n");
    EXPECT_TRUE(Leftovers().empty());
}
#endif

TEST_F(ZqhdrTest, UsageErrors) {
    std::string in = Write("in.hdr", Concat(Header("-Y 1 +X 1"), {1, 1, 1, 1}));
    for (const std::string& arguments :
         std::vector<std::string>{"", "info", "info --bogus " + in, "fly " + in, "help fly",
                                  "convert " + in, "convert " + in + " " + Path("x.jpg"),
                                  "convert " + in + " " + Path("x.png") + " --exposure",
                                  "convert " + in + " " + Path("x.png") + " --exposure lots",
                                  "convert " + in + " " + Path("x.png") + " --exposure nan",
                                  "convert " + in + " " + Path("x.png") + " --exposure inf"}) {
        EXPECT_EQ(Zqhdr(arguments), 2) << arguments;
        EXPECT_NE(m_err.find("usage: zqhdr"), std::string::npos) << arguments << ": " << m_err;
    }
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(ZqhdrTest, AnUnknownOptionIsAUsageErrorInEveryCommand) {
    std::string in = Write("in.hdr", Concat(Header("-Y 1 +X 1"), {1, 1, 1, 1}));
    const std::string out = Path("x.raw");
    // Unknown words, and options of another command.
    for (const std::string& arguments : std::vector<std::string>{
             "info -x " + in, "info " + in + " --to raw", "convert " + in + " " + out + " -x",
             "convert -x " + in + " " + out, "convert " + in + " " + out + " --json",
             "convert " + in + " " + out + " --jobs 2", "batch " + in + " --to raw --out o -x",
             "batch " + in + " --to raw --out o --stats"}) {
        EXPECT_EQ(Zqhdr(arguments), 2) << arguments;
        EXPECT_NE(m_err.find("unknown option -"), std::string::npos) << arguments << ": " << m_err;
        EXPECT_NE(m_err.find("usage: zqhdr"), std::string::npos) << arguments << ": " << m_err;
    }
    EXPECT_TRUE(Leftovers().empty());
    // "-" alone is an operand, not an option.
    EXPECT_NE(Zqhdr("info -"), 2) << m_err;
    EXPECT_EQ(m_err.find("usage: zqhdr"), std::string::npos) << m_err;
}

TEST_F(ZqhdrTest, APipeReadsLikeAFile) {
    // Two bands of rows, each decoder call seeking back over what it read ahead.
    Bytes image = Concat(Header("+Y 1100 -X 2048"), RlePixels(1100, 2048));
    std::string in = Write("in.hdr", image);
    const std::string pipe = Path("pipe.hdr");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string fill = "cat " + in + " >" + pipe + " & ";
    ASSERT_EQ(Zqhdr("convert " + pipe + " " + Path("out.raw"), fill), 0) << m_err;
    EXPECT_TRUE(ReadText(Path("out.raw")) == Decoded(image));
    ASSERT_EQ(Zqhdr("info --stats --json " + in), 0) << m_err;
    const std::string fromFile = m_out;
    ASSERT_EQ(Zqhdr("info --stats --json " + pipe, fill), 0) << m_err;
    nlohmann::json fromPipe = nlohmann::json::parse(m_out);
    EXPECT_EQ(fromPipe["file"], pipe);
    fromPipe["file"] = in;
    EXPECT_EQ(fromPipe, nlohmann::json::parse(fromFile));
    EXPECT_NE(m_out.find("\"header\":[[\"FORMAT\",\"32-bit_rle_rgbe\"],[\"EXPOSURE\",\"1.0\"]]"),
              std::string::npos)
        << m_out;
}

TEST_F(ZqhdrTest, OutputThatCannotBeWrittenIsAFailure) {
    std::string in = Write("in.hdr", Concat(Header("-Y 1 +X 1"), {1, 1, 1, 1}));
    const std::string zqhdr = std::string(ZQ_BUILD_DIR) + "/bin/zqhdr ";
    for (const std::string& arguments :
         std::vector<std::string>{"info " + in, "info --json --stats " + in, "help"}) {
        ProgramOutcome outcome = RunProgram(m_folder, "(" + zqhdr + arguments + " >/dev/full)");
        EXPECT_EQ(outcome.status, 1) << arguments;
        EXPECT_EQ(outcome.err, "zqhdr: standard output: cannot be written\n") << arguments;
    }
}

TEST_F(ZqhdrTest, InfoShowsTheHeaderLinesInFileOrder) {
    std::string in =
        Write("lines.hdr", Concat("#?RADIANCE\n# made by hand\nSOFTWARE= paint 2.1 \n"
                                  "EXPOSURE=0.5\nFORMAT=32-bit_rle_rgbe\n"
                                  "VIEW=-vtv -vp 0 0 0\nEXPOSURE=2\nnot a pair\n"
                                  "PRIMARIES=0.64 0.33 0.3 0.6 0.15 0.06 0.3127 0.329\n"
                                  "\n-Y 1 +X 2\n",
                                  FlatPixels(1, 2)));
    ASSERT_EQ(Zqhdr("info " + in), 0) << m_err;
    EXPECT_NE(m_out.find("orientation: -Y +X (rows top to bottom, columns left to right)\n"
                         "resolution: -Y 1 +X 2\n"
                         "header: SOFTWARE=paint 2.1\nheader: EXPOSURE=0.5\n"
                         "header: FORMAT=32-bit_rle_rgbe\nheader: VIEW=-vtv -vp 0 0 0\n"
                         "header: EXPOSURE=2\n"
                         "header: PRIMARIES=0.64 0.33 0.3 0.6 0.15 0.06 0.3127 0.329\n"
                         "comment: # made by hand\n"),
              std::string::npos)
        << m_out;

    ASSERT_EQ(Zqhdr("info --json " + in), 0) << m_err;
    nlohmann::json object = nlohmann::json::parse(m_out);
    EXPECT_EQ(object["width"], 2);
    EXPECT_EQ(object["height"], 1);
    EXPECT_EQ(object["encoding"], "flat");
    EXPECT_EQ(object["orientation"], "-Y +X");
    EXPECT_EQ(object["header"],
              nlohmann::json::parse(R"([["SOFTWARE","paint 2.1"],["EXPOSURE","0.5"],
                  ["FORMAT","32-bit_rle_rgbe"],["VIEW","-vtv -vp 0 0 0"],["EXPOSURE","2"],
                  ["PRIMARIES","0.64 0.33 0.3 0.6 0.15 0.06 0.3127 0.329"]])"));
    EXPECT_EQ(object["comments"], nlohmann::json::parse(R"(["# made by hand"])"));
    EXPECT_EQ(object["file"], in);
    EXPECT_FALSE(object.contains("stats"));

    // A resolution line that names X first, as it stands and as it is read.
    std::string xFirst = Write("x.hdr", Concat(Header("+X 3 -Y 2"), FlatPixels(2, 3)));
    ASSERT_EQ(Zqhdr("info " + xFirst), 0) << m_err;
    EXPECT_NE(m_out.find("width: 3\nheight: 2\n"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("orientation: +X -Y (X first, read as -Y +X: rows top to bottom, columns "
                         "left to right, not transposed)\nresolution: +X 3 -Y 2\n"),
              std::string::npos)
        << m_out;
}

TEST_F(ZqhdrTest, InfoJsonStatsForEachFileAndFailuresGoOn) {
    // Pixel 0 is black, pixel 1 overflows: green 255.5 * 2^19.
    std::string a =
        Write("a.hdr", Concat(Header("+Y 1 -X 3"), {0, 0, 0, 0, 1, 255, 1, 155, 128, 64, 0, 129}));
    std::string b = Write("b.hdr", Concat(Header("-Y 3 +X 4"), RlePixels(3, 4)));
    std::string cut = Write("cut.hdr", Concat(Header("-Y 4 +X 4"), {2, 2, 0, 4, 4, 1}));
    ASSERT_EQ(Zqhdr("info --stats --json " + a + " " + Path("absent.hdr") + " " + cut + " " + b),
              1);
    EXPECT_EQ(m_err, "zqhdr: " + Path("absent.hdr") +
                         ": cannot be opened: No such file or directory\nzqhdr: " + cut +
                         ": pixel data refused (truncated or malformed) in rows 0 to 3\n");
    std::istringstream lines(m_out);
    std::string line;
    std::vector<nlohmann::json> objects;
    while (std::getline(lines, line)) {
        objects.push_back(nlohmann::json::parse(line));
    }
    ASSERT_EQ(objects.size(), 4u) << m_out;
    // Every file has its line, in order: the failures say why.
    EXPECT_EQ(objects[1],
              nlohmann::json({{"file", Path("absent.hdr")},
                              {"error", "cannot be opened: No such file or directory"}}));
    EXPECT_EQ(objects[2]["file"], cut);
    EXPECT_EQ(objects[2]["error"], "pixel data refused (truncated or malformed) in rows 0 to 3");
    objects.erase(objects.begin() + 1, objects.begin() + 3);
    const nlohmann::json& stats = objects[0]["stats"];
    EXPECT_EQ(objects[0]["orientation"], "+Y -X");
    EXPECT_EQ(stats["overflowed"], 1);
    EXPECT_EQ(stats["black"], 1);
    EXPECT_EQ(stats["min"], nlohmann::json::parse("[0, 0, 0]"));
    EXPECT_EQ(stats["max"], nlohmann::json::parse("[1.00390625, 0.50390625, 0.00390625]"));
    EXPECT_EQ(stats["mean"][1], 0.50390625 / 2);
    EXPECT_EQ(objects[1]["width"], 4);
    EXPECT_EQ(objects[1]["encoding"], "run-length");
    EXPECT_EQ(objects[1]["stats"]["overflowed"], 0);
    EXPECT_EQ(objects[1]["stats"]["min"].size(), 3u);

    ASSERT_EQ(Zqhdr("info --stats " + a + " " + b), 0) << m_err;
    EXPECT_EQ(m_out.rfind(a + ":\nwidth: 3\n", 0), 0u) << m_out;
    EXPECT_NE(m_out.find("\n\n" + b + ":\nwidth: 4\n"), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("red: min 0 max 1.00390625 mean "), std::string::npos) << m_out;
    EXPECT_NE(m_out.find("overflowed: 1\nblack: 1\n"), std::string::npos) << m_out;
}

TEST_F(ZqhdrTest, HelpForTheToolAndEachCommand) {
    for (const std::string& arguments :
         {std::string("--help"), std::string("help"), std::string("-h")}) {
        ASSERT_EQ(Zqhdr(arguments), 0) << arguments;
        EXPECT_NE(m_out.find("zqhdr batch INPUT... --to raw|exr|png --out DIR"), std::string::npos);
        EXPECT_TRUE(m_err.empty());
    }
    for (std::string command : {"info", "convert", "batch"}) {
        ASSERT_EQ(Zqhdr(command + " --help"), 0);
        EXPECT_EQ(m_out.rfind("usage: zqhdr " + command, 0), 0u) << m_out;
        std::string viaHelp = m_out;
        ASSERT_EQ(Zqhdr("help " + command), 0);
        EXPECT_EQ(m_out, viaHelp);
    }
    ASSERT_EQ(Zqhdr("--version"), 0);
    EXPECT_EQ(m_out.rfind("zqhdr ", 0), 0u) << m_out;
    EXPECT_NE(m_out.find_first_of("0123456789"), std::string::npos) << m_out;
}

TEST_F(ZqhdrTest, HelpAndTheReadmeGiveTheSameMemoryFigures) {
    ASSERT_EQ(Zqhdr("help convert"), 0);
    std::regex figures("about (\\d+) MiB for \\.raw, (\\d+) MiB for \\.exr and (\\d+) MiB for");
    std::smatch help;
    const std::string helpText = std::regex_replace(m_out, std::regex("\\s+"), " ");
    ASSERT_TRUE(std::regex_search(helpText, help, figures)) << m_out;
    const std::string readme = std::regex_replace(
        ReadText(std::string(ZQ_SOURCE_DIR) + "/README.md"), std::regex("\\s+"), " ");
    const std::string expected = help[1].str() + " MiB for `.raw`, " + help[2].str() +
                                 " MiB for `.exr` and " + help[3].str() + " MiB for `.png`";
    EXPECT_NE(readme.find(expected), std::string::npos) << expected;
}

TEST_F(ZqhdrTest, ThreadsCompressThePreviewToTheSameFile) {
    std::string in = Write("in.hdr", Concat(Header("-Y 300 +X 200"), FlatPixels(300, 200)));
    for (const std::string threads : {"1", "3"}) {
        ASSERT_EQ(
            Zqhdr("convert " + in + " " + Path("t" + threads + ".png") + " --threads " + threads),
            0)
            << m_err;
    }
    EXPECT_EQ(ReadText(Path("t1.png")), ReadText(Path("t3.png")));
    ASSERT_EQ(Zqhdr("convert " + in + " " + Path("default.png")), 0) << m_err;
    EXPECT_EQ(ReadText(Path("default.png")), ReadText(Path("t1.png")));
    ASSERT_EQ(Zqhdr("batch " + in + " --to png --out " + Path("out") + " --jobs 2 --threads 5"), 0)
        << m_err;
    EXPECT_EQ(ReadText(Path("out/in.png")), ReadText(Path("t1.png")));
    for (const std::string value : {"0", "-1", "x", "1025", "2x"}) {
        EXPECT_EQ(Zqhdr("convert " + in + " " + Path("x.png") + " --threads " + value), 2) << value;
        EXPECT_NE(m_err.find("--threads takes a number from 1 to 1024"), std::string::npos)
            << value << ": " << m_err;
    }
    EXPECT_EQ(Zqhdr("info " + in + " --threads 2"), 2);
    EXPECT_NE(m_err.find("unknown option --threads"), std::string::npos) << m_err;

    // OpenEXR's pool compresses the line buffers at once, into the same file.
    for (const std::string threads : {"1", "3"}) {
        ASSERT_EQ(
            Zqhdr("convert " + in + " " + Path("t" + threads + ".exr") + " --threads " + threads),
            0)
            << m_err;
    }
    EXPECT_TRUE(ReadText(Path("t1.exr")) == ReadText(Path("t3.exr")));
}
