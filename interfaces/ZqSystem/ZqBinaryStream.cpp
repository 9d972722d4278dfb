#include "ZqBinaryStream.h"

#include <cstring>

ZqBinaryStream::~ZqBinaryStream() = default;

unsigned ZqBinaryStream::BinaryRead(void* buffer, unsigned bytes, const unsigned*, unsigned) {
    return static_cast<unsigned>(ReadBytes(buffer, bytes));
}

size_t ZqBinaryStream::ReadBytes(void* buffer, size_t bytes) {
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = TakeBuffered(out, bytes);
    while (done < bytes && Refill() > 0) {
        done += TakeBuffered(out + done, bytes - done);
    }
    return done;
}

size_t ZqBinaryStream::TakeBuffered(void* buffer, size_t bytes) {
    size_t buffered = static_cast<size_t>(m_pucEnd - m_pucNext);
    size_t take = buffered < bytes ? buffered : bytes;
    if (take > 0) {
        std::memcpy(buffer, m_pucNext, take);
        m_pucNext += take;
    }
    return take;
}

unsigned ZqBinaryStream::GetLine(char* buffer, unsigned capacity) {
    unsigned taken = 0;
    unsigned stored = 0;
    bool lastWasReturn = false;
    for (int c = ReadByte(); c >= 0; c = ReadByte()) {
        ++taken;
        if (c == '\n') {
            // Drop a carriage return that ended the line and was kept.
            if (lastWasReturn && taken - 1 <= capacity - 1 && stored > 0) {
                --stored;
            }
            break;
        }
        if (capacity > 0 && stored < capacity - 1) {
            buffer[stored++] = static_cast<char>(c);
        }
        lastWasReturn = c == '\r';
    }
    if (capacity > 0) {
        buffer[stored] = '\0';
    }
    return taken;
}
