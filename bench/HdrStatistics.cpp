#include "HdrStatistics.h"

#include <cstdio>
#include <vector>

bool MeasureHdr(const std::string& path, HdrStatistics& s) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    // Header lines up to the empty one, then the resolution line.
    size_t at = 0;
    bool blank = false;
    while (at < bytes.size() && !blank) {
        size_t start = at;
        while (at < bytes.size() && bytes[at] != '\n') {
            ++at;
        }
        blank = at == start;
        ++at;
    }
    std::string resolution;
    while (at < bytes.size() && bytes[at] != '\n') {
        resolution += char(bytes[at++]);
    }
    ++at;
    if (!blank || std::sscanf(resolution.c_str(), "-Y %u +X %u", &s.height, &s.width) != 2 ||
        at > bytes.size()) {
        return false;
    }
    s.pixelBytes = double(bytes.size() - at);
    s.runLength =
        bytes.size() - at >= 4 && bytes[at] == 2 && bytes[at + 1] == 2 && bytes[at + 2] < 128;
    if (!s.runLength) {
        return s.pixelBytes == 4.0 * s.width * s.height;
    }
    for (unsigned row = 0; row < s.height; ++row) {
        at += 4; // the scanline's opening bytes
        for (unsigned plane = 0; plane < 4; ++plane) {
            for (unsigned covered = 0; covered < s.width;) {
                if (at >= bytes.size() || bytes[at] == 0) {
                    return false;
                }
                unsigned count = bytes[at];
                bool run = count > 128;
                unsigned pixels = run ? count - 128 : count;
                (run ? s.runBytes : s.literalBytes) += pixels;
                s.packets += 1;
                covered += pixels;
                at += run ? 2 : 1 + pixels;
            }
        }
    }
    return at <= bytes.size();
}
