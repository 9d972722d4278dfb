#pragma once

#include "ZqHDRReader.h"

#include <string>

// What `zqhdr info` reports about an image, read through the reader's own
// header parsing.
struct HdrDescription {
    unsigned width = 0;
    unsigned height = 0;
    bool columnsLeftToRight = true;
    bool rowsTopToBottom = true;
    bool runLength = false;
};

class HdrProbe : public ZqHDRReader {
public:
    // False when the reader refuses the header.
    bool Describe(ZqFile& file, HdrDescription& description);
};

// "-Y 512 +X 768"-style orientation text with its meaning.
std::string OrientationText(const HdrDescription& description);
