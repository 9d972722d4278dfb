#pragma once

#include "ZqPixelData.h"

#include <string>

// Writers of a decoded image's top level (16-bit float RGBA). Each writes to
// `path` and answers false with `error` set when it cannot.

// The pixel bytes exactly as they are: rows top to bottom, 8 bytes a pixel.
bool WriteRaw(const ZqPixelData& image, const std::string& path, std::string& error);
// An OpenEXR file of half-float RGBA.
bool WriteExr(const ZqPixelData& image, const std::string& path, std::string& error);
// An 8-bit sRGB preview: scaled by 2^exposure, then tone mapped x / (1 + x).
bool WritePng(const ZqPixelData& image, double exposure, const std::string& path,
              std::string& error);
