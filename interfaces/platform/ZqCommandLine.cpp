// Windows' splitting of a command line into words, for every platform.
#include "ZqPlatformTesting.h"

namespace ZqPlatform {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

// The first word: quotes group, backslashes are ordinary characters.
const char* SplitProgramName(const char* text, std::string& word) {
    bool quoted = false;
    for (; *text && (quoted || !IsSpace(*text)); ++text) {
        if (*text == '"') {
            quoted = !quoted;
        } else {
            word += *text;
        }
    }
    return text;
}

} // namespace

std::vector<std::string> SplitCommandLine(const char* commandLine) {
    std::vector<std::string> words;
    const char* text = commandLine ? commandLine : "";
    while (IsSpace(*text)) {
        ++text;
    }
    if (!*text) {
        return words;
    }
    std::string word;
    text = SplitProgramName(text, word);
    words.push_back(word);
    for (;;) {
        while (IsSpace(*text)) {
            ++text;
        }
        if (!*text) {
            return words;
        }
        word.clear();
        bool quoted = false;
        while (*text && (quoted || !IsSpace(*text))) {
            size_t backslashes = 0;
            while (*text == '\\') {
                ++backslashes;
                ++text;
            }
            if (*text == '"') {
                word.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    word += '"';
                } else if (quoted && text[1] == '"') {
                    word += '"';
                    ++text;
                } else {
                    quoted = !quoted;
                }
                ++text;
            } else {
                word.append(backslashes, '\\');
                if (*text && (quoted || !IsSpace(*text))) {
                    word += *text++;
                }
            }
        }
        words.push_back(word);
    }
}

} // namespace ZqPlatform
