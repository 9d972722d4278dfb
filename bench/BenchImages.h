#pragma once

// The benchmarks' images, written once into the temporary folder and reused
// for as long as the code that made them gives the same bytes.
#include <string>

enum class BenchContent {
    // The synthetic panorama, run-length form written by stb_image_write:
    // packet statistics in the range of real photographs.
    Panorama,
    // A smooth test pattern with long runs, encoded by our own simple
    // writer: far easier to decode than real content.
    EasyPattern,
};

const char* BenchContentName(BenchContent content);

// The path of the width x height image of `content`, run-length or flat,
// written first if no image from the current generator and writer is cached.
// Empty when it cannot be written.
std::string BenchImagePath(BenchContent content, unsigned width, unsigned height, bool runLength);

// Writes the image to `path` (no caching); false on failure.
bool WriteBenchImage(BenchContent content, unsigned width, unsigned height, bool runLength,
                     const std::string& path);
