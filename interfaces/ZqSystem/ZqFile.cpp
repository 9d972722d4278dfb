#include "ZqFile.h"

ZqFile::ZqFile(const char* path, size_t bufferSize) {
    m_pFile = path ? std::fopen(path, "rb") : nullptr;
    if (!m_pFile) {
        return;
    }
    m_size = bufferSize > kSmallestBufferSize ? bufferSize : kSmallestBufferSize;
    m_pucData = new unsigned char[m_size];
    m_pucNext = m_pucEnd = m_pucData;
}

ZqFile::ZqFile(const void* data, size_t size)
    : m_bMemory(true), m_pucData(static_cast<const unsigned char*>(data)), m_size(size) {
    m_pucNext = m_pucData;
    m_pucEnd = m_pucData + (data ? size : 0);
}

ZqFile::~ZqFile() {
    if (m_pFile) {
        std::fclose(m_pFile);
        delete[] m_pucData;
    }
}

bool ZqFile::Seek(long offset, int origin) {
    if (m_bMemory) {
        long size = static_cast<long>(m_size);
        long base = origin == ZQ_SEEK_SET   ? 0
                    : origin == ZQ_SEEK_END ? size
                                            : m_pucNext - m_pucData;
        long target = base + offset;
        if (target < 0 || target > size) {
            return false;
        }
        m_pucNext = m_pucData + target;
        return true;
    }
    if (!m_pFile) {
        return false;
    }
    if (origin == ZQ_SEEK_CUR) {
        offset -= static_cast<long>(m_pucEnd - m_pucNext); // the buffer ran ahead
    }
    int whence = origin == ZQ_SEEK_SET ? SEEK_SET : origin == ZQ_SEEK_END ? SEEK_END : SEEK_CUR;
    m_pucNext = m_pucEnd = m_pucData;
    return std::fseek(m_pFile, offset, whence) == 0;
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
