#pragma once

#include "ImageWriters.h"
#include "TemporaryFiles.h"

#include <string>

// Why a conversion failed: the file to name (none when memory ran out) and
// the reason.
struct ConversionFailure {
    std::string file;
    std::string reason;
};

// Decodes `in` band by band into a writer for `out`, written under a
// temporary name and renamed when complete. False leaves no output behind.
// `pixels` (when given) receives the image's pixel count; `temporaries` (when
// given) keeps track of the temporary file.
bool ConvertFile(const std::string& in, const std::string& out, OutputKind kind, double exposure,
                 ConversionFailure& failure, unsigned long long* pixels = nullptr,
                 TemporaryFiles* temporaries = nullptr);
