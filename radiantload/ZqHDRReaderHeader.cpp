// The header of a Radiance file: text lines up to the first empty line, then
// the resolution line ("-Y 512 +X 768") that gives size and orientation.
#include "ZqHDRReader.h"

#include <cstdlib>
#include <cstring>

namespace {

const unsigned kLineCapacity = 256;

// strtok, but with the position kept by the caller: safe on any thread.
char* NextToken(char*& rest) {
    while (*rest == ' ') {
        ++rest;
    }
    if (*rest == '\0') {
        return nullptr;
    }
    char* token = rest;
    while (*rest != '\0' && *rest != ' ') {
        ++rest;
    }
    if (*rest == ' ') {
        *rest++ = '\0';
    }
    return token;
}

} // namespace

bool ZqHDRReader::ReadHeaderInternal(ZqFile& file, unsigned& width, unsigned& height,
                                     bool& columnsLeftToRight, bool& rowsTopToBottom,
                                     bool& rowOrder) {
    char line[kLineCapacity];
    file.Seek(0, ZqBinaryStream::ZQ_SEEK_SET);

    // Header lines, up to and including the first empty one. Only a FORMAT=
    // line is looked at; exposure, primaries and comments are not applied.
    while (file.GetLine(line, kLineCapacity) != 0) {
        if (std::strncmp(line, "FORMAT=", 7) == 0 &&
            std::strncmp(line, "FORMAT=32-bit_rle_rgbe", 22) != 0) {
            return false;
        }
        if (line[0] == '\0') {
            break;
        }
    }

    if (file.GetLine(line, kLineCapacity) == 0) {
        return false;
    }
    char* rest = line;
    char* token = NextToken(rest);
    if (!token) {
        return false;
    }
    bool afterX = false; // the last axis token seen was an X token
    for (int i = 0; i < 4; ++i, token = NextToken(rest)) {
        if (!token) {
            return false;
        }
        if (i == 1 || i == 3) {
            (afterX ? width : height) = static_cast<unsigned>(std::atoi(token));
            continue;
        }
        if (token[0] != '+' && token[0] != '-') {
            return false;
        }
        if (token[1] == 'X' && !afterX) {
            columnsLeftToRight = token[0] == '+';
            afterX = true;
        } else {
            if (token[1] != 'Y' || (i == 2 && !afterX)) {
                return false;
            }
            rowsTopToBottom = token[0] == '-';
            afterX = false;
        }
    }
    rowOrder = true;
    return true;
}
