#pragma once

#include "ZqHDRReader.h"

#include <string>
#include <utility>
#include <vector>

// What `zqhdr info` reports about an image, read through the reader's own
// header parsing.
struct HdrDescription {
    unsigned width = 0;
    unsigned height = 0;
    bool columnsLeftToRight = true;
    bool rowsTopToBottom = true;
    bool runLength = false;
    // The header's NAME=value lines in file order; a name may repeat. Shown
    // only: the reader interprets none of them.
    std::vector<std::pair<std::string, std::string>> headerLines;
};

class HdrProbe : public ZqHDRReader {
public:
    // False when the reader refuses the header.
    bool Describe(ZqFile& file, HdrDescription& description);
};

// "-Y +X"-style orientation, as the resolution line gives it.
std::string OrientationTokens(const HdrDescription& description);
// The same with its meaning: "-Y +X (rows top to bottom, columns left to right)".
std::string OrientationText(const HdrDescription& description);
