#pragma once

#include "OutputBytes.h"

#include <cstddef>

// The parts of a PNG file, each chunk with its length and CRC.

// The signature, IHDR (8-bit RGB, not interlaced) and sRGB (perceptual).
bool WritePngStart(OutputBytes& out, unsigned width, unsigned height);
// One chunk of `type` (four letters) around `size` bytes, fewer than 2^31.
bool WritePngChunk(OutputBytes& out, const char* type, const unsigned char* data, size_t size);
// IEND.
bool WritePngEnd(OutputBytes& out);
