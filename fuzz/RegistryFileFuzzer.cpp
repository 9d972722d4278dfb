// libFuzzer target: any bytes as a .reg file, one key read from them by its
// path as written, by the same path in upper case, and with a UTF-8 byte-order
// mark put in front.
#include "Require.h"
#include "ZqPlatformInternal.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::string UpperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// The path of the first key the bytes name, so that random files read the
// values of a key they hold and not only of the usual one.
std::string FirstKeyNamed(const std::string& bytes) {
    size_t open = bytes[0] == '[' ? 0 : bytes.find("\n[");
    if (open == std::string::npos) {
        return "";
    }
    open = bytes.find('[', open) + 1;
    size_t close = bytes.find_first_of("]\r\n", open);
    return bytes.substr(open, close == std::string::npos ? close : close - open);
}

void CheckKey(const std::string& bytes, const std::string& key) {
    ZqPlatform::RegistryValues values;
    bool found = ZqPlatform::ReadRegistryKey(bytes, key, values);
    Require(found || values.empty());
    for (const auto& [name, value] : values) {
        // Names are found without regard to case, and values are C strings
        // to every caller.
        Require(name == ZqPlatform::LowerCase(name));
        Require(name.find('\0') == std::string::npos);
        Require(value.find('\0') == std::string::npos);
    }
    ZqPlatform::RegistryValues upper;
    Require(ZqPlatform::ReadRegistryKey(bytes, UpperCase(key), upper) == found);
    Require(upper == values);
    bool unicode = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    if (!unicode && bytes.compare(0, 3, "\xEF\xBB\xBF") != 0) {
        ZqPlatform::RegistryValues marked;
        Require(ZqPlatform::ReadRegistryKey("\xEF\xBB\xBF" + bytes, key, marked) == found);
        Require(marked == values);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckKey(bytes, "HKEY_CLASSES_ROOT\\KFM.Document\\shell\\open\\command");
    CheckKey(bytes, FirstKeyNamed(bytes));
    return 0;
}
