#pragma once

#include "ZqFile.h"

// Bytes the planes buffer needs beyond 4 x columns: packets are copied in
// whole 128-byte blocks, so the last plane may be overwritten past its end.
const unsigned kPlaneSlack = 128;

// Decodes the four planes of one run-length scanline (red, green, blue and
// exponent bytes) into `planes`, each `columns` bytes, plane after plane.
// False, with the stream left where it stopped, when a packet has a count of
// 0, would carry a plane past `columns`, or the stream ends inside it.
bool DecodeRunLengthPlanes(ZqFile& file, unsigned char* planes, unsigned columns);
