#pragma once

#include "ZqPixelData.h"
#include "ZqPlatform.h"

class ZqFile;

// The base of the engine's image readers. Each reader object holds a lock of
// its own: a critical section followed by two words, made with the object
// and deleted with it, never shared by copies.
class ZQMAIN_API ZqImageReader {
public:
    ZqImageReader();
    ZqImageReader(const ZqImageReader& other);
    ZqImageReader& operator=(const ZqImageReader& other);
    virtual ~ZqImageReader();

    // `extension` with its leading dot.
    virtual bool CanReadFile(const char* extension) const = 0;
    // The image's pixels, in `reuse` when it fits or else in a new object
    // that the caller owns; null when the file is refused.
    virtual ZqPixelData* ReadFile(ZqFile& file, ZqPixelData* reuse) = 0;
    virtual bool ReadHeader(ZqFile& file, unsigned& width, unsigned& height, ZqPixelFormat& format,
                            bool& mipmaps, unsigned& faces) = 0;

protected:
    struct ReaderLock {
        ZqPlatform::LockStorage section;
        unsigned words[2];
    };
    ReaderLock m_kReadCriticalSection;
};
