#pragma once

#include "ZqApi.h"

#if defined(ZQ_BUILD_RADIANTLOAD)
#define RADIANTLOAD_API ZQ_SYMBOL_EXPORT
#else
#define RADIANTLOAD_API ZQ_SYMBOL_IMPORT
#endif
