#pragma once

#include "ReadAhead.h"
#include "RgbeConversion.h"

// Decodes `rows` run-length scanlines of `columns` pixels from `source` and
// converts each to half floats: pixel j of scanline i goes to destination +
// i * rowStep + j * columnStep, `bytesPerPixel` bytes a pixel. The first
// scanline's four opening bytes are `firstFour`, already read; every other
// byte comes from `source`, which must read ahead at least 129 bytes (the
// largest packet) at a time.
//
// False when an opening is not 2, 2 and a length equal to `columns`, a
// packet has a count of 0 or would carry its plane past `columns` (the bytes
// taken then end with that count byte), the stream ends inside the data, or
// the scanline buffers cannot be had. Scanlines decoded before a refusal are
// converted. `path` must be one that CanRun; every path gives the same bytes
// and takes the same bytes from `source`.
bool DecodeRunLengthRows(VectorPath path, ReadAhead& source, const unsigned char* firstFour,
                         unsigned char* destination, int rowStep, int columnStep, unsigned rows,
                         unsigned columns, unsigned bytesPerPixel);
