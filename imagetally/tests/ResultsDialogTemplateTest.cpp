// Parses the results dialog template back, field by field, as the system
// would load it.
#include "ResultsDialogTemplate.h"
#include "ZqPlatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

class TemplateReader {
public:
    TemplateReader(const unsigned char* bytes, size_t size) : m_bytes(bytes), m_size(size) {}
    std::uint16_t Word() {
        EXPECT_LE(m_at + 2, m_size);
        std::uint16_t value = static_cast<std::uint16_t>(m_bytes[m_at] | m_bytes[m_at + 1] << 8);
        m_at += 2;
        return value;
    }
    std::uint32_t DoubleWord() {
        std::uint32_t low = Word();
        return low | std::uint32_t(Word()) << 16;
    }
    std::int16_t Short() { return static_cast<std::int16_t>(Word()); }
    std::string Text() {
        std::string text;
        for (std::uint16_t unit = Word(); unit != 0; unit = Word()) {
            text += static_cast<char>(unit);
        }
        return text;
    }
    void AlignToDoubleWord() { m_at = (m_at + 3) & ~size_t(3); }
    size_t Position() const { return m_at; }

private:
    const unsigned char* m_bytes;
    size_t m_size;
    size_t m_at = 0;
};

// Every value of the results window, in the classic template layout.
void CheckTemplate(const unsigned char* bytes, size_t size) {
    ASSERT_NE(bytes, nullptr);
    TemplateReader in(bytes, size);
    EXPECT_EQ(in.DoubleWord(), 0x80C808C0u);
    EXPECT_EQ(in.DoubleWord(), 0u);
    EXPECT_EQ(in.Word(), 3u);
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 0);
    EXPECT_EQ(in.Short(), 417);
    EXPECT_EQ(in.Short(), 299);
    EXPECT_EQ(in.Word(), 0u) << "no menu";
    EXPECT_EQ(in.Word(), 0u) << "default class";
    EXPECT_EQ(in.Text(), "Texture Analyzer Results");
    EXPECT_EQ(in.Word(), 8u);
    EXPECT_EQ(in.Text(), "MS Sans Serif");

    struct Control {
        std::uint32_t style;
        std::int16_t x, y, width, height;
        std::uint16_t identifier, windowClass;
        std::string text;
    } expected[] = {
        {0x50010001, 183, 278, 50, 14, 1, 0x0080, "OK"},
        {0x50B10884, 7, 7, 403, 264, 1000, 0x0081, ""},
        {0x50010000, 345, 278, 65, 14, 1001, 0x0080, "Save As..."},
    };
    for (const Control& c : expected) {
        in.AlignToDoubleWord();
        EXPECT_EQ(in.DoubleWord(), c.style) << c.text;
        EXPECT_EQ(in.DoubleWord(), 0u);
        EXPECT_EQ(in.Short(), c.x);
        EXPECT_EQ(in.Short(), c.y);
        EXPECT_EQ(in.Short(), c.width);
        EXPECT_EQ(in.Short(), c.height);
        EXPECT_EQ(in.Word(), c.identifier);
        EXPECT_EQ(in.Word(), 0xFFFFu) << "class by atom";
        EXPECT_EQ(in.Word(), c.windowClass);
        EXPECT_EQ(in.Text(), c.text);
        EXPECT_EQ(in.Word(), 0u) << "no creation data";
    }
    EXPECT_LE(size - in.Position(), 3u) << "nothing but padding follows";
}

} // namespace

TEST(ResultsDialogTemplate, ClassicLayoutWithEveryValue) {
    const DialogResource& resource = ResultsDialogResource();
    EXPECT_EQ(resource.identifier, 101u);
    EXPECT_EQ(resource.language, 1033u);
    CheckTemplate(resource.bytes, resource.size);
}

#if defined(_WIN32)
// The built module itself carries the resource, found as Windows finds it.
TEST(ResultsDialogTemplate, TheModuleCarriesItAsADialogResource) {
    std::string error;
    ZqPlatform::Module* module = ZqPlatform::LoadModule(
        (std::string(ZQ_BUILD_DIR) + "/plugins/ImageTally.dll").c_str(), error);
    ASSERT_NE(module, nullptr) << error;
    size_t size = 0;
    const unsigned kDialogType = 5; // RT_DIALOG
    const unsigned char* bytes =
        ZqPlatform::FindModuleResource(module, kDialogType, 101, 1033, size);
    CheckTemplate(bytes, size);
    EXPECT_EQ(ZqPlatform::FindModuleResource(module, kDialogType, 101, 1031, size), nullptr)
        << "English (United States) only";
    ZqPlatform::UnloadModule(module);
}
#endif
