#pragma once

#include "BandSink.h"
#include "ConversionSettings.h"
#include "HdrDescription.h"
#include "ToolPlatform.h"

#include <cstddef>
#include <memory>
#include <string>

// By the extension, in any letter case: .raw, .exr or .png.
OutputKind OutputKindOf(const std::string& path);
// The extension written for a kind: ".raw", ".exr" or ".png".
const char* OutputExtension(OutputKind kind);

// Writers that take a banded decode and write it to `file`, which they take
// over, as the bands arrive. A writer succeeds only when every byte of its
// output was produced and written.
// The pixel bytes exactly as they are: rows top to bottom, 8 bytes a pixel.
std::unique_ptr<BandSink> MakeRawWriter(ToolPlatform::FileHandle file);
// Half-float OpenEXR, RGBA or RGB, its scanlines in the order the file gives
// them, carrying the source's header lines as attributes. The finished file
// is read back from `path` and must be complete.
std::unique_ptr<BandSink> MakeExrWriter(ToolPlatform::FileHandle file, const std::string& path,
                                        const ConversionSettings& settings,
                                        const HdrDescription& source);
// Whether OpenEXR has a compression of that name ("none", "zip", "piz"...),
// and the names, for messages.
bool IsExrCompression(const std::string& name);
const char* ExrCompressionNames();
// An 8-bit sRGB preview: scaled by 2^exposure, then tone mapped x / (1 + x),
// compressed on `threads` threads in blocks of `blockBytes` (at least 3) of
// filtered rows. The blocks in flight stay a few MiB; a block's start and
// end cost nothing against its compression.
const size_t kPngBlockBytes = size_t(512) << 10;
std::unique_ptr<BandSink> MakePngWriter(ToolPlatform::FileHandle file, double exposure,
                                        unsigned threads, size_t blockBytes = kPngBlockBytes);
// OpenEXR compresses on a thread pool of the process's: `threads` in all
// (none below 2), set before the first OpenEXR file of a run.
void SetExrThreads(unsigned threads);

// The writer for the settings' kind. Raw and OpenEXR values are scaled by
// the exposure on the way.
std::unique_ptr<BandSink> MakeWriter(const ConversionSettings& settings,
                                     ToolPlatform::FileHandle file, const std::string& path,
                                     const HdrDescription& source);
