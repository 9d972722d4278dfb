#include "ZqBinaryStream.h"

ZqBinaryStream::~ZqBinaryStream() = default;

unsigned ZqBinaryStream::BinaryRead(void* buffer, unsigned bytes, const unsigned*, unsigned) {
    return static_cast<unsigned>(Read(buffer, bytes));
}

size_t ZqBinaryStream::ReadSlow(void* buffer, size_t bytes) {
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = static_cast<size_t>(m_pucEnd - m_pucNext);
    std::memcpy(out, m_pucNext, done);
    m_pucNext = m_pucEnd;
    size_t direct = ReadDirect(out + done, bytes - done);
    if (direct > 0) {
        return done + direct;
    }
    // Sources without direct reads go through the buffer.
    while (done < bytes) {
        size_t available = Refill(1);
        if (available == 0) {
            break;
        }
        size_t take = available < bytes - done ? available : bytes - done;
        std::memcpy(out + done, m_pucNext, take);
        m_pucNext += take;
        done += take;
    }
    return done;
}

int ZqBinaryStream::ReadByteSlow() {
    return Refill(1) > 0 ? *m_pucNext++ : -1;
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
