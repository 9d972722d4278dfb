#pragma once

#include <cstddef>
#include <string>

// What a decoded image looks like before its first band arrives.
struct ImageShape {
    unsigned width = 0;
    unsigned height = 0;
    // Bands arrive in the file's row order: top to bottom, or bottom to top.
    bool rowsTopToBottom = true;
    // The file's own column order; bands hold rows left to right whatever it is.
    bool columnsLeftToRight = true;
};

// Whole output rows of 16-bit float RGBA pixels, 8 bytes a pixel, top to
// bottom, left to right.
struct Band {
    unsigned firstRow = 0; // the band's top row in the image
    unsigned rows = 0;
    const unsigned char* pixels = nullptr;
};

// Where a banded decode puts its rows: a writer or a statistic. Each call
// answers false with `error` set when it cannot go on.
class BandSink {
public:
    virtual ~BandSink() = default;
    virtual bool Begin(const ImageShape& shape, std::string& error) = 0;
    virtual bool Take(const Band& band, std::string& error) = 0;
    // After the last band; not called when the decode fails.
    virtual bool Finish(std::string& error) = 0;
};
