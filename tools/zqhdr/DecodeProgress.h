#pragma once

#include "BandSink.h"

#include <memory>

// Told of a conversion's pixels as they are decoded, from its own thread.
class DecodeProgress {
public:
    virtual ~DecodeProgress() = default;
    // The header was read: the image has `pixels` pixels.
    virtual void Began(unsigned long long pixels) = 0;
    // Another band of `pixels` pixels was decoded.
    virtual void Decoded(unsigned long long pixels) = 0;
};

// `sink` telling `progress` of each band it takes; `sink` itself when there
// is no progress to tell.
std::unique_ptr<BandSink> Counted(std::unique_ptr<BandSink> sink, DecodeProgress* progress);
