// The text of .reg files: the file's own encoding, and expandable strings
// written as lists of UTF-16LE bytes.
#include "ZqPlatformInternal.h"

#include <string>

namespace ZqPlatform {

// regedit writes UTF-16LE with a byte-order mark; turn that into UTF-8.
std::string RegistryTextToUtf8(const std::string& bytes) {
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE) {
        return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? bytes.substr(3) : bytes;
    }
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned unit = static_cast<unsigned char>(bytes[i]) |
                        static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        unsigned code = unit;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            unsigned low = static_cast<unsigned char>(bytes[i + 2]) |
                           static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 3])) << 8;
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18));
            text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return text;
}

// Reads the bytes of a hex(2): value, "25,00,31,00,00,00", as UTF-16LE text
// up to its terminating NUL. False when the list is malformed.
bool ReadExpandableString(const std::string& list, std::string& out) {
    std::string bytes = "\xFF\xFE"; // marks the text as UTF-16LE for RegistryTextToUtf8
    size_t at = 0;
    while (at < list.size()) {
        while (at < list.size() && (list[at] == ' ' || list[at] == '\t')) {
            ++at;
        }
        if (at == list.size()) {
            break;
        }
        size_t end = list.find(',', at);
        std::string digits = list.substr(at, end == std::string::npos ? end : end - at);
        while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\t')) {
            digits.pop_back();
        }
        if (digits.empty() || digits.size() > 2 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            return false;
        }
        bytes += static_cast<char>(std::stoi(digits, nullptr, 16));
        at = end == std::string::npos ? list.size() : end + 1;
    }
    std::string text = RegistryTextToUtf8(bytes);
    out = text.substr(0, text.find('\0'));
    return true;
}

} // namespace ZqPlatform
