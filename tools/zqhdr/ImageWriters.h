#pragma once

#include "BandSink.h"
#include "ToolPlatform.h"

#include <memory>
#include <string>

enum class OutputKind { Raw, Exr, Png, Unknown };

// By the extension, in any letter case: .raw, .exr or .png.
OutputKind OutputKindOf(const std::string& path);
// The extension written for a kind: ".raw", ".exr" or ".png".
const char* OutputExtension(OutputKind kind);

// Writers that take a banded decode and write it to `file`, which they take
// over, as the bands arrive. A writer succeeds only when every byte of its
// output was produced and written.
// The pixel bytes exactly as they are: rows top to bottom, 8 bytes a pixel.
std::unique_ptr<BandSink> MakeRawWriter(ToolPlatform::FileHandle file);
// Half-float RGBA OpenEXR, its scanlines in the order the file gives them.
// The finished file is read back from `path` and must be complete.
std::unique_ptr<BandSink> MakeExrWriter(ToolPlatform::FileHandle file, const std::string& path);
// An 8-bit sRGB preview: scaled by 2^exposure, then tone mapped x / (1 + x).
std::unique_ptr<BandSink> MakePngWriter(ToolPlatform::FileHandle file, double exposure);

std::unique_ptr<BandSink> MakeWriter(OutputKind kind, ToolPlatform::FileHandle file,
                                     const std::string& path, double exposure);
