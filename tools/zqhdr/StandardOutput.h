#pragma once

#include "BandSink.h"
#include "ConversionSettings.h"

#include <string>

// Outputs written to standard output ("-"). A writer whose bytes come in
// order writes there directly; one that writes at row offsets (.raw of a
// bottom-to-top file) or seeks back (OpenEXR's offset table) writes a spool
// file first, copied out when complete. Either way a failure may leave part
// of the output written: standard output cannot be whole or nothing.
bool WritesInOrder(OutputKind kind, const ImageShape& shape);

// The folder of spool files: $TMPDIR, or /tmp.
std::string SpoolFolder();

// Copies the file at `path` to standard output, through one small buffer;
// false with `error` set to the cause.
bool CopyToStandardOutput(const std::string& path, std::string& error);
