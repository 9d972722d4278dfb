// Registry keys read from a Windows .reg export, as text: the registry of
// POSIX systems, and of tests on every platform.
//
//   Windows Registry Editor Version 5.00
//   [HKEY_CLASSES_ROOT\KFM.Document\shell\open\command]
//   @="viewer \"%1\""
//   "Name"="value"
//
//   "Expandable"=hex(2):25,00,31,00,00,00
//
// Key paths and value names compare without regard to case, as on Windows.
// Expandable strings (hex(2):, as reg export writes them) read as their text,
// unexpanded, as the Windows query gives them. Values of other types (dword:,
// hex:) are not strings and are skipped.
#include "ZqPlatformInternal.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace ZqPlatform {

namespace {

// Reads a quoted string starting at text[at] (the opening quote); `at` ends
// just past the closing quote. False when the quote is never closed, or when
// the text holds a NUL: callers take names and values as C strings, which
// would end there.
bool ReadQuoted(const std::string& text, size_t& at, std::string& out) {
    out.clear();
    for (++at; at < text.size(); ++at) {
        char c = text[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\' && at + 1 < text.size()) {
            c = text[++at];
        }
        if (c == '\0') {
            return false;
        }
        out += c;
    }
    return false;
}

} // namespace

std::string LowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool ReadRegistryFileKey(const std::string& path, const std::string& keyPath,
                         RegistryValues& values, bool& readable) {
    std::ifstream file(path, std::ios::binary);
    readable = static_cast<bool>(file);
    if (!readable) {
        return false;
    }
    std::stringstream bytes;
    bytes << file.rdbuf();
    return ReadRegistryKey(bytes.str(), keyPath, values);
}

bool ReadRegistryKey(const std::string& bytes, const std::string& keyPath, RegistryValues& values) {
    std::istringstream lines(RegistryTextToUtf8(bytes));
    std::string wanted = LowerCase(keyPath);
    bool found = false;
    bool inKey = false;
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        // Long hex values go on over lines that end in a backslash.
        std::string more;
        while (!line.empty() && line.back() == '\\' && std::getline(lines, more)) {
            line.pop_back();
            if (!more.empty() && more.back() == '\r') {
                more.pop_back();
            }
            line += more.substr(std::min(more.find_first_not_of(" \t"), more.size()));
        }
        if (!line.empty() && line[0] == '[') {
            size_t close = line.rfind(']');
            inKey = close != std::string::npos && LowerCase(line.substr(1, close - 1)) == wanted;
            found = found || inKey;
            continue;
        }
        if (!inKey || line.empty()) {
            continue;
        }
        std::string name;
        size_t at = 0;
        if (line[0] == '@') {
            at = 1;
        } else if (line[0] != '"' || !ReadQuoted(line, at, name)) {
            continue;
        }
        std::string value;
        const std::string expandable = "=hex(2):";
        if (at < line.size() && line[at] == '=' && at + 1 < line.size() && line[at + 1] == '"') {
            ++at;
            if (ReadQuoted(line, at, value)) {
                values[LowerCase(name)] = value;
            }
        } else if (LowerCase(line.substr(at, expandable.size())) == expandable &&
                   ReadExpandableString(line.substr(at + expandable.size()), value)) {
            values[LowerCase(name)] = value;
        }
    }
    return found;
}

bool FindRegistryValue(const RegistryValues& values, const char* valueName, std::string& value) {
    auto found = values.find(LowerCase(valueName ? valueName : ""));
    if (found == values.end()) {
        return false;
    }
    value = found->second;
    return true;
}

} // namespace ZqPlatform
