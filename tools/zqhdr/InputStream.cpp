#include "InputStream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// One read from the source: as much as the old file buffer took at a time.
const size_t kReadSize = 256 * 1024;
// The buffer: the recent bytes and room for a few reads, so that they are
// moved to its front only now and then.
const size_t kBufferSize = InputStream::kRecentBytes + 4 * kReadSize;

} // namespace

// The base holds no bytes of its own: every read comes to Refill.
InputStream::InputStream(const std::string& path) : ZqFile(static_cast<const void*>(nullptr), 0) {
    m_buffer.reset(new unsigned char[kBufferSize]);
    m_capacity = kBufferSize;
    m_prefix.reserve(kPrefixBytes);
    m_pucNext = m_pucEnd = m_buffer.get();
    m_source = path == "-" ? ToolPlatform::kStandardInput
                           : ToolPlatform::OpenForReading(path, m_openError);
}

InputStream::~InputStream() {
    if (m_source != ToolPlatform::kNoFile && m_source != ToolPlatform::kStandardInput) {
        std::string ignored;
        ToolPlatform::Close(m_source, ignored);
    }
}

uint64_t InputStream::Position() const {
    return m_base + static_cast<uint64_t>(m_pucNext - m_buffer.get());
}

std::string InputStream::HandedOut() const {
    if (m_base != 0) {
        return std::string(); // the start is no longer kept
    }
    return std::string(reinterpret_cast<const char*>(m_buffer.get()), m_pucNext - m_buffer.get());
}

void InputStream::Fail() {
    m_failed = true;
    m_pucEnd = m_pucNext;
}

bool InputStream::Seek(long offset, int origin) {
    if (m_failed || origin == ZQ_SEEK_END) {
        Fail();
        return false;
    }
    const uint64_t from = origin == ZQ_SEEK_SET ? 0 : Position();
    const uint64_t distance = offset < 0 ? uint64_t(-(offset + 1)) + 1 : uint64_t(offset);
    if (offset < 0 && distance > from) {
        Fail();
        return false;
    }
    const uint64_t target = offset < 0 ? from - distance : from + distance;
    if (target < m_base || target > m_base + m_filled) {
        Fail();
        return false;
    }
    m_pucNext = m_buffer.get() + (target - m_base);
    return true;
}

size_t InputStream::ReadBytes(void* buffer, size_t bytes) {
    return ZqBinaryStream::ReadBytes(buffer, bytes);
}

// Room for one more read at the buffer's end: keeping from the start, a
// larger buffer; else the recent bytes moved to the front.
bool InputStream::MakeRoom() {
    if (m_capacity - m_filled >= kReadSize) {
        return true;
    }
    if (m_keepAll && m_capacity >= kMostKeptFromStart) {
        m_keepAll = false; // no header is this long: not one to show
    }
    size_t next = static_cast<size_t>(m_pucNext - m_buffer.get());
    if (m_keepAll) {
        const size_t larger = m_capacity * 2;
        std::unique_ptr<unsigned char[]> grown(new (std::nothrow) unsigned char[larger]);
        if (!grown) {
            return false;
        }
        std::memcpy(grown.get(), m_buffer.get(), m_filled);
        m_buffer = std::move(grown);
        m_capacity = larger;
    } else {
        const size_t keep = m_filled < kRecentBytes ? m_filled : kRecentBytes;
        const size_t drop = m_filled - keep;
        std::memmove(m_buffer.get(), m_buffer.get() + drop, keep);
        m_base += drop;
        m_filled = keep;
        next -= drop;
    }
    m_pucNext = m_buffer.get() + next;
    m_pucEnd = m_buffer.get() + m_filled;
    return true;
}

size_t InputStream::Refill() {
    if (m_failed || m_source == ToolPlatform::kNoFile || m_pucNext != m_pucEnd) {
        return static_cast<size_t>(m_pucEnd - m_pucNext);
    }
    if (!MakeRoom()) {
        Fail();
        return 0;
    }
    std::string error;
    long got = ToolPlatform::ReadSome(m_source, m_buffer.get() + m_filled, kReadSize, error);
    if (got < 0) {
        Fail(); // a read error ends the stream, never a gap in it
        return 0;
    }
    const uint64_t start = m_base + m_filled;
    if (start < kPrefixBytes) {
        const size_t take = std::min<size_t>(size_t(got), kPrefixBytes - size_t(start));
        m_prefix.append(reinterpret_cast<const char*>(m_buffer.get() + m_filled), take);
    }
    m_pucNext = m_buffer.get() + m_filled;
    m_filled += size_t(got);
    m_pucEnd = m_buffer.get() + m_filled;
    return size_t(got);
}
