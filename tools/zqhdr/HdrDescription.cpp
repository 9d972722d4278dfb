#include "HdrDescription.h"

#include "HdrLayout.h"

namespace {

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

// The header lines, up to the first empty one, as the reader's line reading
// gives them: without the line feed, a carriage return before it, or
// anything from a NUL on; then the resolution line.
void ReadHeaderLines(const std::string& bytes, HdrDescription& description) {
    description.headerLines.clear();
    description.comments.clear();
    bool ended = false;
    for (size_t start = 0, number = 0; start < bytes.size(); ++number) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            return; // the line goes on beyond the bytes
        }
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        line = line.substr(0, line.find('\0'));
        if (ended) {
            description.resolution = line;
            description.xFirst = line.find_first_not_of(" ") != std::string::npos &&
                                 line[line.find_first_not_of(" ") + 1] == 'X';
            return;
        }
        std::pair<std::string, std::string> entry;
        if (line.empty()) {
            ended = true;
        } else if (line[0] == '#' && !(number == 0 && line.compare(0, 2, "#?") == 0)) {
            description.comments.push_back(line);
        } else if (SplitNameValue(line, entry)) {
            description.headerLines.push_back(entry);
        }
    }
}

bool DescribeImage(BandedReader& reader, InputStream& stream, HdrDescription& description) {
    if (!reader.ReadImageHeader(stream)) {
        return false;
    }
    description.shape = reader.Shape();
    ReadHeaderLines(stream.HandedOut(), description);
    stream.Release();
    unsigned char first[4] = {0, 0, 0, 0};
    const unsigned byteSize = 1;
    const unsigned got = stream.BinaryRead(first, 4, &byteSize, 1);
    description.runLength = got == 4 && OpensRunLength(first);
    // Within the bytes the stream keeps, so it cannot fail but by a fault.
    return stream.Seek(-static_cast<long>(got), ZqBinaryStream::ZQ_SEEK_CUR);
}

namespace {

std::string YFirstTokens(const HdrDescription& d) {
    return std::string(d.shape.rowsTopToBottom ? "-Y" : "+Y") + " " +
           (d.shape.columnsLeftToRight ? "+X" : "-X");
}

} // namespace

std::string OrientationTokens(const HdrDescription& d) {
    if (!d.xFirst) {
        return YFirstTokens(d);
    }
    return std::string(d.shape.columnsLeftToRight ? "+X" : "-X") + " " +
           (d.shape.rowsTopToBottom ? "-Y" : "+Y");
}

std::string OrientationText(const HdrDescription& d) {
    const std::string meaning =
        std::string("rows ") + (d.shape.rowsTopToBottom ? "top to bottom" : "bottom to top") +
        ", columns " + (d.shape.columnsLeftToRight ? "left to right" : "right to left");
    if (d.xFirst) {
        return OrientationTokens(d) + " (X first, read as " + YFirstTokens(d) + ": " + meaning +
               ", not transposed)";
    }
    return OrientationTokens(d) + " (" + meaning + ")";
}
