// What an OpenEXR output keeps of its source, and the options that shape it.
#include "ZqhdrTestSupport.h"

#include <ImfChannelList.h>
#include <ImfHeader.h>
#include <ImfInputFile.h>
#include <ImfRgbaFile.h>
#include <ImfStandardAttributes.h>
#include <ImfStringAttribute.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string StringAttribute(const Imf::Header& header, const std::string& name) {
    const auto* attribute = header.findTypedAttribute<Imf::StringAttribute>(name);
    return attribute ? attribute->value() : "(none)";
}

// The pixels as RGBA halves, as the tool's .raw holds them.
std::string ExrPixels(const std::string& path) {
    Imf::RgbaInputFile exr(path.c_str());
    const Imath::Box2i window = exr.dataWindow();
    const int width = window.max.x - window.min.x + 1;
    const int height = window.max.y - window.min.y + 1;
    std::vector<Imf::Rgba> pixels(size_t(width) * height);
    exr.setFrameBuffer(pixels.data(), 1, width);
    exr.readPixels(window.min.y, window.max.y);
    return std::string(reinterpret_cast<const char*>(pixels.data()), pixels.size() * 8);
}

} // namespace

TEST_F(ZqhdrTest, ExrCarriesTheSourceHeaderAndNamesItsWriter) {
    std::string in = Write("in.hdr", Concat("#?RADIANCE\n# Made with a renderer\nEXPOSURE=0.5\n"
                                            "FORMAT=32-bit_rle_rgbe\nEXPOSURE=2\n# second note\n"
                                            "PRIMARIES=0.64 0.33 0.3 0.6 0.15 0.06 0.3127 0.329\n"
                                            "\n-Y 2 +X 3\n",
                                            FlatPixels(2, 3)));
    ASSERT_EQ(Zqhdr("convert " + in + " " + Path("out.exr")), 0) << m_err;
    Imf::InputFile exr(Path("out.exr").c_str());
    const Imf::Header& header = exr.header();
    EXPECT_EQ(StringAttribute(header, "hdr:EXPOSURE"), "0.5");
    EXPECT_EQ(StringAttribute(header, "hdr:EXPOSURE#2"), "2");
    EXPECT_EQ(StringAttribute(header, "hdr:FORMAT"), "32-bit_rle_rgbe");
    EXPECT_EQ(StringAttribute(header, "hdr:#1"), "# Made with a renderer");
    EXPECT_EQ(StringAttribute(header, "hdr:#2"), "# second note");
    EXPECT_EQ(StringAttribute(header, "hdr:omitted"), "(none)");
    EXPECT_EQ(StringAttribute(header, "software"), "zqhdr " ZQ_VERSION);
    ASSERT_TRUE(Imf::hasChromaticities(header));
    EXPECT_FLOAT_EQ(Imf::chromaticities(header).red.x, 0.64f);
    EXPECT_FLOAT_EQ(Imf::chromaticities(header).white.y, 0.329f);
    EXPECT_EQ(header.compression(), Imf::ZIP_COMPRESSION);

    // PRIMARIES that do not parse are carried as text only.
    std::string odd = Write("odd.hdr", Concat("#?RADIANCE\nPRIMARIES=0.6 0.3 red\n"
                                              "\n-Y 1 +X 1\n",
                                              FlatPixels(1, 1)));
    ASSERT_EQ(Zqhdr("convert " + odd + " " + Path("odd.exr")), 0) << m_err;
    Imf::InputFile oddExr(Path("odd.exr").c_str());
    EXPECT_FALSE(Imf::hasChromaticities(oddExr.header()));
    EXPECT_EQ(StringAttribute(oddExr.header(), "hdr:PRIMARIES"), "0.6 0.3 red");
}

TEST_F(ZqhdrTest, ExrCarriesAHugeHeaderOnlyUpToItsCap) {
    std::string lines = "#?RADIANCE\n";
    for (int i = 0; i < 5000; ++i) {
        lines += "NOTE=" + std::string(200, 'a' + i % 26) + "\n";
    }
    std::string in = Write("in.hdr", Concat(lines + "\n-Y 1 +X 2\n", FlatPixels(1, 2)));
    ASSERT_EQ(Zqhdr("convert " + in + " " + Path("out.exr")), 0) << m_err;
    Imf::InputFile exr(Path("out.exr").c_str());
    size_t carried = 0;
    for (auto it = exr.header().begin(); it != exr.header().end(); ++it) {
        const std::string name = it.name();
        if (name.rfind("hdr:NOTE", 0) == 0) {
            carried += name.size() + StringAttribute(exr.header(), name).size();
        }
    }
    EXPECT_GT(carried, 8000u);
    EXPECT_LE(carried, 16u * 1024);
    EXPECT_NE(StringAttribute(exr.header(), "hdr:omitted"), "(none)");
}

TEST_F(ZqhdrTest, ExrCompressionChannelsAndExposure) {
    Bytes image = Concat(Header("-Y 5 +X 4"), RlePixels(5, 4));
    std::string in = Write("in.hdr", image);
    const std::string halves = Decoded(image);
    struct Case {
        std::string options;
        Imf::Compression compression;
        bool alpha;
        float scale;
    };
    const std::vector<Case> cases = {
        {"", Imf::ZIP_COMPRESSION, true, 1.0f},
        {"--compression none", Imf::NO_COMPRESSION, true, 1.0f},
        {"--compression piz --channels rgb", Imf::PIZ_COMPRESSION, false, 1.0f},
        {"--compression dwab", Imf::DWAB_COMPRESSION, true, 1.0f},
        {"--exposure 1", Imf::ZIP_COMPRESSION, true, 2.0f},
        {"--exposure -2 --channels rgba", Imf::ZIP_COMPRESSION, true, 0.25f},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Zqhdr("convert " + in + " " + Path("out.exr") + " " + c.options), 0) << m_err;
        Imf::InputFile exr(Path("out.exr").c_str());
        EXPECT_EQ(exr.header().compression(), c.compression) << c.options;
        EXPECT_EQ(exr.header().channels().findChannel("A") != nullptr, c.alpha) << c.options;
        EXPECT_NE(exr.header().channels().findChannel("R"), nullptr) << c.options;
        // Lossy compressions keep values only nearly; the others exactly.
        if (c.compression != Imf::DWAB_COMPRESSION) {
            EXPECT_TRUE(ExrPixels(Path("out.exr")) == Scaled(halves, c.scale)) << c.options;
        }
    }
    // The exposure scales the raw values too.
    ASSERT_EQ(Zqhdr("convert " + in + " " + Path("out.raw") + " --exposure 1"), 0) << m_err;
    EXPECT_TRUE(ReadText(Path("out.raw")) == Scaled(halves, 2.0f));

    for (const char* bad : {"--compression zstd", "--channels rgbz", "--compression"}) {
        EXPECT_EQ(Zqhdr("convert " + in + " " + Path("bad.exr") + " " + std::string(bad)), 2)
            << bad;
        EXPECT_FALSE(fs::exists(Path("bad.exr")));
    }
}
