#pragma once

#include "ReadAhead.h"

// Bytes the planes buffer needs beyond 4 x columns: packets are copied in
// whole 128-byte blocks, so the last plane may be overwritten past its end.
const unsigned kPlaneSlack = 128;

// Decodes the four planes of one run-length scanline (red, green, blue and
// exponent bytes) into `planes`, each `columns` bytes, plane after plane.
// False when a packet has a count of 0 or would carry a plane past
// `columns` (the bytes taken end with that count byte), or when the stream
// ends inside the scanline.
bool DecodeRunLengthPlanes(ReadAhead& bytes, unsigned char* planes, unsigned columns);
