#pragma once

#include "BandSink.h"

// Told of a conversion's pixels as they are decoded, from its own thread.
class DecodeProgress {
public:
    virtual ~DecodeProgress() = default;
    // The header was read: the image has `pixels` pixels.
    virtual void Began(unsigned long long pixels) = 0;
    // Another band of `pixels` pixels was decoded.
    virtual void Decoded(unsigned long long pixels) = 0;
};

// Passes every band on to `sink`, telling `progress` (when there is one) of
// each band's pixels first.
class CountingSink : public BandSink {
public:
    CountingSink(BandSink& sink, DecodeProgress* progress) : m_sink(sink), m_progress(progress) {}

    bool Begin(const ImageShape& shape, std::string& error) override;
    bool Take(const Band& band, std::string& error) override;
    bool Finish(std::string& error) override { return m_sink.Finish(error); }

private:
    BandSink& m_sink;
    DecodeProgress* m_progress;
    unsigned m_width = 0;
};
