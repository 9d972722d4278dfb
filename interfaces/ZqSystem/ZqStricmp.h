#pragma once

#include "ZqApi.h"

// Case-insensitive comparison of ASCII letters: 0 when equal, otherwise the
// sign of the first difference, as strcmp. A null text sorts before any text.
ZQSYSTEM_API int ZqStricmp(const char* a, const char* b);
