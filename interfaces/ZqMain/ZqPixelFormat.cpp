#include "ZqPixelFormat.h"

const ZqPixelFormat ZqPixelFormat::RGBA64(ZqPixelFormat::RGBA_HALF, 64, 0, 0, 0, 0);

bool ZqPixelFormat::operator==(const ZqPixelFormat& other) const {
    return m_iFormat == other.m_iFormat && m_ucBitsPerPixel == other.m_ucBitsPerPixel &&
           m_auiMasks[0] == other.m_auiMasks[0] && m_auiMasks[1] == other.m_auiMasks[1] &&
           m_auiMasks[2] == other.m_auiMasks[2] && m_auiMasks[3] == other.m_auiMasks[3];
}
