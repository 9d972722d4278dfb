#include "TextureReport.h"

#include "FormatIntoBuffer.h"
#include "PixelFormatText.h"
#include "ZqSourceTexture.h"

#include <cstdint>

namespace {

const char* const kFooterFormat =
    "================================================================\r\r\n"
    "Total Known Texture Size:                         %f MB\r\r\n";

// "<Ptr to 1A2B3C>": the address in upper-case hexadecimal, no leading zeros.
void FormatPointer(char* buffer, unsigned size, const void* address) {
    if (sizeof(void*) <= sizeof(unsigned long)) {
        FormatIntoBuffer(buffer, size, "<Ptr to %lX>",
                         static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(address)));
    } else { // where long is narrower than an address
        FormatIntoBuffer(
            buffer, size, "<Ptr to %llX>",
            static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
    }
}

// The five detail lines of a texture whose pixels are in memory; answers its
// whole byte count. The kilobytes line takes the count as an unsigned 32-bit
// number, as the report always has.
std::uint64_t DescribePixels(const ZqPixelData& pixels, ZqString& detail) {
    ZqPixelFormat format = pixels.GetPixelFormat();
    bool hasPalette = pixels.GetPalette() != nullptr;
    std::uint64_t size = pixels.GetTotalSizeInBytes();
    std::uint32_t bytes = static_cast<std::uint32_t>(size);
    unsigned mipmaps = pixels.GetNumMipmapLevels();
    detail += "     Pixel Format: ";
    detail += GetPixelFormatText(format);
    detail += "\r\r\n     Pixel Mask:   ";
    detail += GetPixelMaskText(format);
    detail += "\r\r\n     Palette Exists: ";
    detail += ZqString::FromBool(hasPalette);
    detail += "\r\r\n     Total Size: ";
    // Exact in double; the only rounding is to single precision.
    detail += ZqString::FromFloat(static_cast<float>(bytes / 1024.0));
    detail += " kb\r\r\n     MipMap Levels: ";
    detail += ZqString::FromInt(static_cast<int>(mipmaps));
    detail += "\r\r\n";
    return size;
}

} // namespace

std::uint64_t BuildTextureReport(ZqString& report) {
    ZqTexture* texture = ZqTexture::GetListHead();
    report.Empty();
    // 64 bits: on a 64-bit host the textures may hold more than 4 GiB in all.
    std::uint64_t total = 0;
    char pointerText[256];
    for (; texture; texture = texture->GetListNext()) {
        FormatPointer(pointerText, sizeof pointerText, texture);
        const char* className = texture->GetRTTI()->GetName();
        ZqString line(256);
        int width = static_cast<int>(texture->GetWidth());
        int height = static_cast<int>(texture->GetHeight());
        if (ZqObject::IsKindOf(&ZqSourceTexture::m_RTTI, texture)) {
            auto* source = static_cast<ZqSourceTexture*>(texture);
            ZqPixelData* pixels = source->GetSourcePixelData();
            const char* shownName = source->GetFilename() ? source->GetFilename() : pointerText;
            ZqString detail("");
            if (pixels) {
                total += DescribePixels(*pixels, detail);
            } else {
                detail += "     External Texture";
            }
            line.Format("%s Object: \"%s\" (%d x %d)\r\r\n%s", className, shownName, width, height,
                        static_cast<const char*>(detail));
        } else {
            line.Format("%s Object: (%d x %d)\r\r\n", className, width, height);
        }
        line += "\r\r\n";
        report += line;
    }
    ZqString footer(256);
    footer.Format(kFooterFormat, static_cast<double>(total) / 1024.0 / 1024.0);
    report += footer;
    return total;
}
