#pragma once

#include "BandedReader.h"
#include "InputStream.h"

#include <string>
#include <utility>
#include <vector>

// What `zqhdr info` reports about an image.
struct HdrDescription {
    ImageShape shape; // size and orientation
    bool runLength = false;
    // The header's NAME=value lines in file order; a name may repeat. Shown
    // only: the reader interprets none of them.
    std::vector<std::pair<std::string, std::string>> headerLines;
};

// Describes the image in `stream`, which keeps from its start: the header
// read once, by `reader`; its NAME=value lines taken from the bytes the
// reader read; the pixel data's form from its first four bytes, before which
// the stream is put back, and let go of its start. False when the reader
// refuses the header.
bool DescribeImage(BandedReader& reader, InputStream& stream, HdrDescription& description);

// "-Y +X"-style orientation, as the resolution line gives it.
std::string OrientationTokens(const HdrDescription& description);
// The same with its meaning: "-Y +X (rows top to bottom, columns left to right)".
std::string OrientationText(const HdrDescription& description);
