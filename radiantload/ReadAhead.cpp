#include "ReadAhead.h"

#include <climits>
#include <cstring>
#include <new>

bool ReadExactly(ZqBinaryStream& stream, unsigned char* buffer, size_t bytes) {
    const unsigned byteSize = 1;
    while (bytes > 0) {
        unsigned ask = bytes < UINT_MAX ? static_cast<unsigned>(bytes) : UINT_MAX;
        unsigned got = stream.BinaryRead(buffer, ask, &byteSize, 1);
        if (got == 0) {
            return false;
        }
        buffer += got;
        bytes -= got;
    }
    return true;
}

ReadAhead::ReadAhead(ZqBinaryStream& stream, size_t capacity, std::uint64_t limit)
    : m_stream(stream), m_capacity(capacity < limit ? capacity : static_cast<size_t>(limit)),
      m_left(limit) {
    if (m_capacity == 0) {
        m_capacity = 1;
    }
    m_buffer.reset(new (std::nothrow) unsigned char[m_capacity]);
    m_next = m_end = m_buffer.get();
}

ReadAhead::~ReadAhead() {
    size_t unused = Available();
    if (unused > 0) {
        m_stream.Seek(-static_cast<long>(unused), ZqBinaryStream::ZQ_SEEK_CUR);
    }
}

size_t ReadAhead::Fill(size_t bytes) {
    size_t available = Available();
    unsigned char* buffer = m_buffer.get();
    if (m_next != buffer) {
        std::memmove(buffer, m_next, available);
        m_next = buffer;
        m_end = buffer + available;
    }
    const unsigned byteSize = 1;
    while (available < bytes && available < m_capacity && m_left > 0) {
        size_t room = m_capacity - available;
        unsigned ask = static_cast<unsigned>(room < m_left ? room : m_left);
        unsigned got = m_stream.BinaryRead(buffer + available, ask, &byteSize, 1);
        if (got == 0) {
            break; // the end of the stream
        }
        available += got;
        m_left -= got;
    }
    m_end = buffer + available;
    return available;
}

bool ReadAhead::Take(unsigned char* out, size_t bytes) {
    if (Ensure(bytes) < bytes) {
        return false;
    }
    std::memcpy(out, m_next, bytes);
    m_next += bytes;
    return true;
}
