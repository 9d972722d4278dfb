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
    // The header's comment lines ("# Made with ..."), as they stand; the
    // opening "#?" line is the format's mark, not a comment.
    std::vector<std::string> comments;
    // The resolution line as it stands ("+X 400 -Y 294"), and whether it
    // names X first.
    std::string resolution;
    bool xFirst = false;
};

// Describes the image in `stream`, which keeps from its start: the header
// read once, by `reader`; its NAME=value lines taken from the bytes the
// reader read; the pixel data's form from its first four bytes, before which
// the stream is put back, and let go of its start. False when the reader
// refuses the header.
bool DescribeImage(BandedReader& reader, InputStream& stream, HdrDescription& description);

// The header's NAME=value, comment and resolution lines from `bytes`, the
// file's first bytes; a line cut off where they end is left out.
void ReadHeaderLines(const std::string& bytes, HdrDescription& description);

// "-Y +X"-style orientation, its tokens in the resolution line's order.
std::string OrientationTokens(const HdrDescription& description);
// The same with its meaning: "-Y +X (rows top to bottom, columns left to
// right)". An X-first line says how the reader takes it: as the Y-first line
// of the same signs, height scanlines of width pixels, not transposed.
std::string OrientationText(const HdrDescription& description);
