#pragma once

#include "BandSink.h"

#include <memory>

// `writer` with every red, green and blue value scaled by 2^stops on the way
// (rounded to the nearest half float; alpha stays); `writer` itself when
// stops is 0. A band is passed on in pieces of about a megabyte, so the
// scaled copy adds little to the memory a conversion takes.
std::unique_ptr<BandSink> Exposed(std::unique_ptr<BandSink> writer, double stops);
