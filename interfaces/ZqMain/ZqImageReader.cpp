#include "ZqImageReader.h"

ZqImageReader::ZqImageReader() {
    m_kReadCriticalSection.words[0] = 0;
    m_kReadCriticalSection.words[1] = 0;
    ZqPlatform::InitializeLock(&m_kReadCriticalSection.section);
}

// A copy gets a fresh lock of its own.
ZqImageReader::ZqImageReader(const ZqImageReader&) : ZqImageReader() {}

// Assignment keeps each object's own lock: there is nothing else to copy.
ZqImageReader& ZqImageReader::operator=(const ZqImageReader&) {
    return *this;
}

ZqImageReader::~ZqImageReader() {
    ZqPlatform::DeleteLock(&m_kReadCriticalSection.section);
}
