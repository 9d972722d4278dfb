#include "TextureReport.h"
#include "FormatIntoBuffer.h"
#include "ZqDescribedPixelData.h"
#include "ZqRenderedTexture.h"
#include "ZqSourceCubeMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const std::string kRule = std::string(64, '=') + "\r\r\n";

std::string Footer(const char* megabytes) {
    return kRule + "Total Known Texture Size:" + std::string(25, ' ') + megabytes + " MB\r\r\n";
}

std::string Report() {
    ZqString report(256);
    BuildTextureReport(report);
    return static_cast<const char*>(report);
}

const ZqPixelFormat kArgb(ZqPixelFormat::RGBA, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);

} // namespace

TEST(TextureReport, NoTexturesGivesTheFooterAlone) {
    EXPECT_EQ(Report(), Footer("0.000000"));
}

TEST(TextureReport, EachKindOfEntryByteForByte) {
    ZqPointer<ZqTexture> rendered = new ZqRenderedTexture(64, 32);
    ZqPointer<ZqTexture> external = new ZqSourceTexture("far.dds", nullptr, 256, 128);
    ZqPointer<ZqPixelData> pixels = new ZqDescribedPixelData(kArgb, 3, 1536);
    pixels->SetPalette(new ZqPalette(16));
    ZqPointer<ZqTexture> held = new ZqSourceCubeMap("sky.hdr", pixels, 16, 16);

    EXPECT_EQ(Report(), "ZqRenderedTexture Object: (64 x 32)\r\r\n"
                        "\r\r\n"
                        "ZqSourceTexture Object: \"far.dds\" (256 x 128)\r\r\n"
                        "     External Texture\r\r\n"
                        "ZqSourceCubeMap Object: \"sky.hdr\" (16 x 16)\r\r\n"
                        "     Pixel Format: RGBA (Bits Per Pixel: 32)\r\r\n"
                        "     Pixel Mask:   A8R8G8B8\r\r\n"
                        "     Palette Exists: true\r\r\n"
                        "     Total Size: 1.500000 kb\r\r\n"
                        "     MipMap Levels: 3\r\r\n"
                        "\r\r\n" +
                            Footer("0.001465"));
}

TEST(TextureReport, TextureWithoutFileNameShowsItsAddress) {
    ZqPointer<ZqPixelData> pixels = new ZqDescribedPixelData(kArgb, 1, 0);
    ZqPointer<ZqTexture> unnamed = new ZqSourceTexture(nullptr, pixels, 1, 1);
    char address[64];
    std::snprintf(address, sizeof address, "%llX",
                  static_cast<unsigned long long>(
                      reinterpret_cast<uintptr_t>(static_cast<ZqTexture*>(unnamed))));
    std::string report = Report();
    EXPECT_EQ(report.rfind("ZqSourceTexture Object: \"<Ptr to " + std::string(address) +
                               ">\" (1 x 1)\r\r\n     Pixel Format: RGBA",
                           0),
              0u)
        << report;
    EXPECT_NE(report.find("     Palette Exists: false\r\r\n"), std::string::npos);
}

TEST(TextureReport, SizesAndTotals) {
    struct Case {
        std::vector<size_t> sizes;
        const char* kilobytes; // of the first texture
        const char* megabytes;
    } cases[] = {
        {{1024 * 1024, 512 * 1024}, "1024.000000", "1.500000"},
        {{size_t(1) << 31}, "2097152.000000", "2048.000000"},
        {{0xFFFFFFFFu}, "4194304.000000", "4095.999999"},
        // Three textures of 2 GiB: 6 GiB in all, which 32 bits could not hold.
        {{size_t(1) << 31, size_t(1) << 31, size_t(1) << 31}, "2097152.000000", "6144.000000"},
    };
    for (const Case& c : cases) {
        std::vector<ZqPointer<ZqTexture>> textures;
        for (size_t size : c.sizes) {
            textures.push_back(
                new ZqSourceTexture("t", new ZqDescribedPixelData(kArgb, 1, size), 8, 8));
        }
        std::string report = Report();
        EXPECT_NE(report.find(std::string("     Total Size: ") + c.kilobytes + " kb\r\r\n"),
                  std::string::npos)
            << report;
        EXPECT_EQ(report.substr(report.size() - Footer(c.megabytes).size()), Footer(c.megabytes));
    }
}

TEST(TextureReport, OneTextureAbove4GiBAddsItsWholeSize) {
    if (sizeof(size_t) < 8) {
        GTEST_SKIP() << "no single object reaches 4 GiB here";
    }
    // The kilobytes line keeps the 32-bit count (6 GiB shows as 2 GiB); the
    // total does not.
    ZqPointer<ZqTexture> texture = new ZqSourceTexture(
        "t", new ZqDescribedPixelData(kArgb, 1, static_cast<size_t>(6ull << 30)), 8, 8);
    std::string report = Report();
    EXPECT_NE(report.find("     Total Size: 2097152.000000 kb\r\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.substr(report.size() - Footer("6144.000000").size()), Footer("6144.000000"));
}

TEST(TextureReport, ExternalAndRenderedTexturesAddNothing) {
    ZqPointer<ZqTexture> rendered = new ZqRenderedTexture(4096, 4096);
    ZqPointer<ZqTexture> external = new ZqSourceTexture("x.dds", nullptr, 4096, 4096);
    ZqPointer<ZqTexture> held =
        new ZqSourceTexture("y", new ZqDescribedPixelData(kArgb, 1, 1048576), 1, 1);
    ZqString report(256);
    EXPECT_EQ(BuildTextureReport(report), 1048576u);
}

TEST(FormatIntoBuffer, CutsAndAlwaysTerminates) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    FormatIntoBuffer(buffer, sizeof buffer, "<Ptr to %lX>", 0xABCDEFUL);
    EXPECT_STREQ(buffer, "<Ptr to");
    FormatIntoBuffer(buffer, 1, "%s", "anything");
    EXPECT_STREQ(buffer, "");
    FormatIntoBuffer(buffer, sizeof buffer, "%d", 42);
    EXPECT_STREQ(buffer, "42");
}
