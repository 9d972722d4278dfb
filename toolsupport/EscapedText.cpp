#include "EscapedText.h"

namespace {

// The length of the valid UTF-8 sequence at text[at] of two bytes or more,
// or 0: no overlong forms, no surrogates, nothing above U+10FFFF, and none of
// the C1 controls (U+0080 to U+009F), which some terminals act on too.
size_t MultiByteLength(const std::string& text, size_t at) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    unsigned char second = byte(at + 1);
    unsigned char low = lead == 0xC2 || lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool EndsALine(const std::string& text, size_t at) {
    size_t next = text.find_first_not_of('\r', at);
    return next != std::string::npos && text[next] == '\n';
}

} // namespace

std::string EscapedText(const std::string& text) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[at]);
        bool plain =
            (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || (c == '\r' && EndsALine(text, at));
        size_t length = plain ? 1 : c >= 0x80 ? MultiByteLength(text, at) : 0;
        if (length > 0) {
            out.append(text, at, length);
            at += length;
            continue;
        }
        out += "\\x";
        out += kDigits[c >> 4];
        out += kDigits[c & 0xF];
        ++at;
    }
    return out;
}
