#pragma once

#include <cstddef>

// PNG's Up filter: each byte less the byte above it, modulo 256.
void FilterUp(unsigned char* row, const unsigned char* above, size_t bytes);
// The same, where `above` then takes the row's own bytes, for the row below.
void FilterUpKeeping(unsigned char* row, unsigned char* above, size_t bytes);
