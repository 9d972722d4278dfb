#include "ResultsDialogTemplate.h"

#include "ZqPlatform.h"

#include <cstdint>
#include <utility>
#include <vector>

#if defined(_WIN32)

// On Windows the template is a real dialog resource of the module
// (ImageTally.rc), read from wherever this code was loaded.
namespace {
const char kAnchor = 0; // any object of this module, to find the module by
} // namespace

const DialogResource& ResultsDialogResource() {
    static const DialogResource resource = [] {
        const unsigned kDialogType = 5; // RT_DIALOG
        size_t size = 0;
        const unsigned char* bytes = ZqPlatform::FindModuleResource(ZqPlatform::ModuleOf(&kAnchor),
                                                                    kDialogType, 101, 1033, size);
        return DialogResource{101, 1033, bytes, size};
    }();
    return resource;
}

#else

namespace {

struct Control {
    std::uint16_t windowClass; // 0x0080 button, 0x0081 edit
    std::uint16_t identifier;
    std::int16_t x, y, width, height;
    const char* text;
    std::uint32_t style;
};

const std::uint32_t kDialogStyle = 0x80C808C0; // popup, caption, system menu, modal frame,
                                               // centred, own font
const Control kControls[] = {
    {0x0080, 1, 183, 278, 50, 14, "OK", 0x50010001},            // default push button
    {0x0081, 1000, 7, 7, 403, 264, "", 0x50B10884},             // read-only multi-line edit
    {0x0080, 1001, 345, 278, 65, 14, "Save As...", 0x50010000}, // push button
};

// Little-endian words and double words, text as UTF-16, as the layout wants.
class TemplateWriter {
public:
    void Word(std::uint16_t value) {
        m_bytes.push_back(static_cast<unsigned char>(value & 0xFF));
        m_bytes.push_back(static_cast<unsigned char>(value >> 8));
    }
    void DoubleWord(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Text(const char* text) {
        for (; *text; ++text) {
            Word(static_cast<unsigned char>(*text));
        }
        Word(0);
    }
    void AlignToDoubleWord() {
        while (m_bytes.size() % 4 != 0) {
            m_bytes.push_back(0);
        }
    }
    std::vector<unsigned char> Take() { return std::move(m_bytes); }

private:
    std::vector<unsigned char> m_bytes;
};

std::vector<unsigned char> BuildTemplate() {
    TemplateWriter out;
    out.DoubleWord(kDialogStyle);
    out.DoubleWord(0); // no extended style
    out.Word(static_cast<std::uint16_t>(sizeof kControls / sizeof kControls[0]));
    for (std::int16_t value : {0, 0, 417, 299}) { // position and size in dialog units
        out.Word(static_cast<std::uint16_t>(value));
    }
    out.Word(0); // no menu
    out.Word(0); // the default dialog class
    out.Text("Texture Analyzer Results");
    out.Word(8); // points
    out.Text("MS Sans Serif");
    for (const Control& control : kControls) {
        out.AlignToDoubleWord();
        out.DoubleWord(control.style);
        out.DoubleWord(0); // no extended style
        for (std::int16_t value : {control.x, control.y, control.width, control.height}) {
            out.Word(static_cast<std::uint16_t>(value));
        }
        out.Word(control.identifier);
        out.Word(0xFFFF);
        out.Word(control.windowClass);
        out.Text(control.text);
        out.Word(0); // no creation data
    }
    return out.Take();
}

} // namespace

const DialogResource& ResultsDialogResource() {
    static const std::vector<unsigned char> bytes = BuildTemplate();
    static const DialogResource resource = {101, 1033, bytes.data(), bytes.size()};
    return resource;
}

#endif
