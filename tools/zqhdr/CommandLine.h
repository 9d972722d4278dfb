#pragma once

#include "ConversionSettings.h"
#include "ImageWriters.h"

#include <string>
#include <vector>

// What the words after a command's name say, read by the one option table
// that serves every command.
struct CommandLine {
    std::vector<std::string> operands; // the words that are not options; "-" is one
    bool json = false;                 // info, batch --json
    bool stats = false;                // info --stats
    // convert, batch: --exposure STOPS, --compression NAME, --channels rgb|rgba;
    // batch --skip-existing
    ConversionSettings conversion;
    OutputKind to = OutputKind::Unknown; // batch, convert to "-": --to raw|exr|png
    std::string out;                     // batch --out DIR
    unsigned jobs = 0;                   // batch --jobs N; 0 when not given
    unsigned threads = 0;                // convert, batch --threads N; 0 when not given
};

// Reads `words` for `command` ("info", "convert" or "batch"). A word that
// begins with "-" (other than "-" alone) must be one of the command's
// options. Answers the usage problem, or empty.
std::string ParseCommandLine(const std::string& command, const std::vector<std::string>& words,
                             CommandLine& line);
