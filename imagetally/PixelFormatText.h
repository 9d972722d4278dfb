#pragma once

#include "ZqPixelFormat.h"
#include "ZqString.h"

// The format's name and bits per pixel: "RGBA (Bits Per Pixel: 32)"; numbers
// beyond the named ten read "Unknown Format #12".
ZqString GetPixelFormatText(ZqPixelFormat format);

// The four channels from the greatest mask to the smallest, each with the
// number of bits set in its mask: "A8R8G8B8". Among equal masks the later
// component comes first (A, B, G, R).
ZqString GetPixelMaskText(ZqPixelFormat format);
