#pragma once

#include "ConversionSettings.h"
#include "DecodeProgress.h"
#include "TemporaryFiles.h"

#include <string>

// Why a conversion failed: the file to name and the reason.
struct ConversionFailure {
    std::string file;
    std::string reason;
    bool outOfMemory = false; // the machine's trouble rather than the file's
};

// Decodes `in` band by band into a writer for `out`, written under a
// temporary name that `temporaries` keeps track of, and renamed when
// complete. False leaves no output behind. `pixels` receives the image's
// pixel count; `progress`, when given, hears of the bands as they come.
bool ConvertFile(const std::string& in, const std::string& out, const ConversionSettings& settings,
                 TemporaryFiles& temporaries, ConversionFailure& failure,
                 unsigned long long& pixels, DecodeProgress* progress = nullptr);
