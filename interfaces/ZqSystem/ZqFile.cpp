#include "ZqFile.h"

ZqFile::ZqFile(const char* path, size_t bufferSize) {
    m_pFile = path ? std::fopen(path, "rb") : nullptr;
    if (!m_pFile) {
        return;
    }
    m_size = bufferSize > 16 ? bufferSize : 16;
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

size_t ZqFile::Refill(size_t bytes) {
    size_t available = static_cast<size_t>(m_pucEnd - m_pucNext);
    if (m_bMemory || !m_pFile) {
        return available;
    }
    auto* buffer = const_cast<unsigned char*>(m_pucData);
    if (m_pucNext != buffer) {
        std::memmove(buffer, m_pucNext, available);
    }
    m_pucNext = buffer;
    while (available < bytes && available < m_size) {
        size_t got = std::fread(buffer + available, 1, m_size - available, m_pFile);
        if (got == 0) {
            break;
        }
        available += got;
    }
    m_pucEnd = buffer + available;
    return available;
}

size_t ZqFile::ReadDirect(void* buffer, size_t bytes) {
    // Small reads are better served through the buffer.
    if (m_bMemory || !m_pFile || bytes < m_size / 2) {
        return 0;
    }
    return std::fread(buffer, 1, bytes, m_pFile);
}
