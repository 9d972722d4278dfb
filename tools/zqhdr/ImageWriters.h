#pragma once

#include "BandSink.h"

#include <memory>
#include <string>

enum class OutputKind { Raw, Exr, Png, Unknown };

// By the extension, in any letter case: .raw, .exr or .png.
OutputKind OutputKindOf(const std::string& path);
// The extension written for a kind: ".raw", ".exr" or ".png".
const char* OutputExtension(OutputKind kind);

// Writers that take a banded decode and write `path` as the bands arrive.
// The pixel bytes exactly as they are: rows top to bottom, 8 bytes a pixel.
std::unique_ptr<BandSink> MakeRawWriter(const std::string& path);
// Half-float RGBA OpenEXR, its scanlines in the order the file gives them.
std::unique_ptr<BandSink> MakeExrWriter(const std::string& path);
// An 8-bit sRGB preview: scaled by 2^exposure, then tone mapped x / (1 + x).
std::unique_ptr<BandSink> MakePngWriter(const std::string& path, double exposure);

std::unique_ptr<BandSink> MakeWriter(OutputKind kind, const std::string& path, double exposure);
