#pragma once

// What a Radiance file's pixel data is made of: its form, and for the
// run-length form the packets and how many decoded bytes runs and literals
// give. Worked out by walking the file, independently of the reader.
#include <string>

struct HdrStatistics {
    unsigned width = 0, height = 0;
    bool runLength = false;
    double pixelBytes = 0;   // bytes of pixel data in the file
    double packets = 0;      // run-length form: packet count
    double runBytes = 0;     // decoded bytes given by run packets
    double literalBytes = 0; // decoded bytes given by literal packets

    double BytesPerPacket() const { return packets > 0 ? (runBytes + literalBytes) / packets : 0; }
    double RunShare() const {
        return runBytes + literalBytes > 0 ? runBytes / (runBytes + literalBytes) : 0;
    }
    // Pixel data size against the flat form's 4 bytes a pixel.
    double SizeOfFlat() const { return pixelBytes / (4.0 * width * height); }
};

// False when the file cannot be read or is not a well-formed Radiance file
// with a "-Y h +X w" resolution line.
bool MeasureHdr(const std::string& path, HdrStatistics& statistics);
