#pragma once

#include "ZqString.h"

#include <cstdint>

// Writes into `report` (emptied first) one entry per live texture, in the
// engine's list order, then the footer with the total bytes of the textures
// whose pixels are held in memory. Lines end in "\r\r\n". Answers that total.
std::uint64_t BuildTextureReport(ZqString& report);
