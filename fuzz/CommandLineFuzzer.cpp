// libFuzzer target: any text as a command line, split into words; the words
// quoted back into a command line split into the same words again.
#include "Require.h"
#include "ZqPlatformTesting.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// An argument in quotes, escaped the way the splitting rules undo: a quote
// as \", and a run of backslashes doubled where a quote follows it.
std::string Quoted(const std::string& word) {
    std::string line = "\"";
    size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            line.append(2 * backslashes + 1, '\\');
        } else {
            line.append(backslashes, '\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, '\\');
    return line + "\"";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    line = line.c_str(); // a command line ends at its first NUL
    std::vector<std::string> words = ZqPlatform::SplitCommandLine(line.c_str());
    size_t kept = 0;
    for (const std::string& word : words) {
        Require(word.find('\0') == std::string::npos);
        kept += word.size();
    }
    // Splitting only drops characters (separators, quotes, escapes).
    Require(kept <= line.size());
    if (words.empty()) {
        Require(line.find_first_not_of(" \t") == std::string::npos);
        return 0;
    }
    // The program name takes no escapes, so no quote can be in it.
    Require(words[0].find('"') == std::string::npos);
    std::string again = "\"" + words[0] + "\"";
    for (size_t i = 1; i < words.size(); ++i) {
        again += " " + Quoted(words[i]);
    }
    Require(ZqPlatform::SplitCommandLine(again.c_str()) == words);
    return 0;
}
