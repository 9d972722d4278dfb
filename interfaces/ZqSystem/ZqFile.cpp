#include "ZqFile.h"

#include <climits>

ZqFile::ZqFile(const char* path, size_t bufferSize) {
    m_pFile = path ? std::fopen(path, "rb") : nullptr;
    if (!m_pFile) {
        return;
    }
    m_size = bufferSize > kSmallestBufferSize ? bufferSize : kSmallestBufferSize;
    try {
        m_pucData = new unsigned char[m_size];
    } catch (...) {
        std::fclose(m_pFile); // no destructor runs for a constructor that throws
        throw;
    }
    m_pucNext = m_pucEnd = m_pucData;
}

ZqFile::ZqFile(const void* data, size_t size)
    : m_bMemory(true), m_pucData(static_cast<const unsigned char*>(data)), m_size(data ? size : 0) {
    m_pucNext = m_pucData;
    m_pucEnd = m_pucData + m_size;
}

ZqFile::~ZqFile() {
    if (m_pFile) {
        std::fclose(m_pFile);
        delete[] m_pucData;
    }
}

bool ZqFile::Seek(long offset, int origin) {
    if (m_bMemory) {
        // In size_t: the bytes may be more than a long counts (32-bit long).
        size_t base = origin == ZQ_SEEK_SET   ? 0
                      : origin == ZQ_SEEK_END ? m_size
                                              : size_t(m_pucNext - m_pucData);
        size_t distance = offset < 0 ? size_t(-(offset + 1)) + 1 : size_t(offset);
        if (offset < 0 ? distance > base : distance > m_size - base) {
            return false;
        }
        m_pucNext = m_pucData + (offset < 0 ? base - distance : base + distance);
        return true;
    }
    if (!m_pFile) {
        return false;
    }
    if (origin == ZQ_SEEK_CUR) {
        // From the start instead: the buffer ran ahead of the position, and
        // not every C runtime refuses a position before the start.
        long position = std::ftell(m_pFile);
        if (position < 0) {
            return false;
        }
        position -= static_cast<long>(m_pucEnd - m_pucNext);
        if (offset < -position || offset > LONG_MAX - position) {
            return false;
        }
        offset += position;
        origin = ZQ_SEEK_SET;
    }
    if (origin == ZQ_SEEK_SET && offset < 0) {
        return false;
    }
    int whence = origin == ZQ_SEEK_SET ? SEEK_SET : SEEK_END;
    if (std::fseek(m_pFile, offset, whence) != 0) {
        return false; // the file did not move, so the buffer still holds what comes next
    }
    m_pucNext = m_pucEnd = m_pucData;
    return true;
}

size_t ZqFile::Refill() {
    if (!m_pFile) {
        return 0; // a memory file holds all of its bytes from the start
    }
    auto* buffer = const_cast<unsigned char*>(m_pucData);
    size_t got = std::fread(buffer, 1, m_size, m_pFile);
    m_pucNext = buffer;
    m_pucEnd = buffer + got;
    return got;
}

size_t ZqFile::ReadBytes(void* buffer, size_t bytes) {
    if (!m_pFile || bytes < (m_size < kDirectReadSize ? m_size : kDirectReadSize)) {
        return ZqBinaryStream::ReadBytes(buffer, bytes);
    }
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = TakeBuffered(out, bytes);
    while (done < bytes) {
        size_t got = std::fread(out + done, 1, bytes - done, m_pFile);
        if (got == 0) {
            break;
        }
        done += got;
    }
    return done;
}
