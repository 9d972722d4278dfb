// Symbol visibility for the stand-in libraries. Each library compiles with its
// own ZQ_BUILD_<LIBRARY> defined and exports what it declares with its macro;
// everyone else sees the same declarations as imports.
#pragma once

#if defined(_WIN32)
#define ZQ_SYMBOL_EXPORT __declspec(dllexport)
#define ZQ_SYMBOL_IMPORT __declspec(dllimport)
#else
#define ZQ_SYMBOL_EXPORT __attribute__((visibility("default")))
#define ZQ_SYMBOL_IMPORT __attribute__((visibility("default")))
#endif

#if defined(ZQ_BUILD_PLATFORM)
#define ZQPLATFORM_API ZQ_SYMBOL_EXPORT
#else
#define ZQPLATFORM_API ZQ_SYMBOL_IMPORT
#endif

#if defined(ZQ_BUILD_SYSTEM)
#define ZQSYSTEM_API ZQ_SYMBOL_EXPORT
#else
#define ZQSYSTEM_API ZQ_SYMBOL_IMPORT
#endif

#if defined(ZQ_BUILD_MAIN)
#define ZQMAIN_API ZQ_SYMBOL_EXPORT
#else
#define ZQMAIN_API ZQ_SYMBOL_IMPORT
#endif

#if defined(ZQ_BUILD_PLUGINTOOLKIT)
#define ZQPLUGINTOOLKIT_API ZQ_SYMBOL_EXPORT
#else
#define ZQPLUGINTOOLKIT_API ZQ_SYMBOL_IMPORT
#endif

#if defined(ZQ_BUILD_STANDARDSHAREDDATA)
#define ZQSTANDARDSHAREDDATA_API ZQ_SYMBOL_EXPORT
#else
#define ZQSTANDARDSHAREDDATA_API ZQ_SYMBOL_IMPORT
#endif

#if defined(ZQ_BUILD_ANIMATION)
#define ZQANIMATION_API ZQ_SYMBOL_EXPORT
#else
#define ZQANIMATION_API ZQ_SYMBOL_IMPORT
#endif

#if defined(ZQ_BUILD_OPTIMIZATION)
#define ZQOPTIMIZATION_API ZQ_SYMBOL_EXPORT
#else
#define ZQOPTIMIZATION_API ZQ_SYMBOL_IMPORT
#endif
