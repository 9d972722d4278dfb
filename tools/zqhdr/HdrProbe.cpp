#include "HdrProbe.h"

#include "HdrLayout.h"

#include <memory>

namespace {

// Header lines as long as this are shown whole; the reader's own buffer is
// smaller, but lines end at the same line feeds.
const unsigned kLongestLine = 65536;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string Trimmed(const std::string& text) {
    size_t first = 0, end = text.size();
    while (first < end && IsBlank(text[first])) {
        ++first;
    }
    while (end > first && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(first, end - first);
}

// NAME=value, with a name of no blanks that is not a comment.
bool SplitNameValue(const std::string& line, std::pair<std::string, std::string>& entry) {
    size_t equals = line.find('=');
    if (equals == 0 || equals == std::string::npos || line[0] == '#') {
        return false;
    }
    for (size_t i = 0; i < equals; ++i) {
        if (IsBlank(line[i])) {
            return false;
        }
    }
    entry = {line.substr(0, equals), Trimmed(line.substr(equals + 1))};
    return true;
}

} // namespace

bool HdrProbe::Describe(ZqFile& file, HdrDescription& description) {
    bool rowOrder = true;
    if (!ReadHeaderInternal(file, description.width, description.height,
                            description.columnsLeftToRight, description.rowsTopToBottom,
                            rowOrder)) {
        return false;
    }
    unsigned char first[4] = {0, 0, 0, 0};
    const unsigned byteSize = 1;
    description.runLength = file.BinaryRead(first, 4, &byteSize, 1) == 4 && OpensRunLength(first);

    // The header lines again, up to the first empty one, as the reader saw them.
    file.Seek(0, ZqBinaryStream::ZQ_SEEK_SET);
    std::unique_ptr<char[]> line(new char[kLongestLine]);
    description.headerLines.clear();
    while (file.GetLine(line.get(), kLongestLine) != 0 && line[0] != '\0') {
        std::pair<std::string, std::string> entry;
        if (SplitNameValue(line.get(), entry)) {
            description.headerLines.push_back(entry);
        }
    }
    return true;
}

std::string OrientationTokens(const HdrDescription& d) {
    return std::string(d.rowsTopToBottom ? "-Y" : "+Y") + " " +
           (d.columnsLeftToRight ? "+X" : "-X");
}

std::string OrientationText(const HdrDescription& d) {
    return OrientationTokens(d) + " (rows " +
           (d.rowsTopToBottom ? "top to bottom" : "bottom to top") + ", columns " +
           (d.columnsLeftToRight ? "left to right" : "right to left") + ")";
}
