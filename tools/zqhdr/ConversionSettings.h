#pragma once

#include <string>

enum class OutputKind { Raw, Exr, Png, Unknown };

// What every conversion of a run is asked for.
struct ConversionSettings {
    OutputKind kind = OutputKind::Unknown;
    // Stops: every value written is scaled by 2^exposure (the preview before
    // its tone curve).
    double exposure = 0.0;
    std::string compression = "zip"; // .exr: one of OpenEXR's compressions
    bool alpha = true;               // .exr: RGBA, or RGB without the constant alpha
    unsigned maxSize = 0;            // the output's longest side at most; 0 keeps the size
    unsigned threads = 1;            // that compress a .png or .exr
    bool makeFolders = false;        // make the output's folder when it is missing
    bool skipExisting = false;       // leave an output newer than its input as it is
};
