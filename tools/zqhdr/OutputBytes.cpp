#include "OutputBytes.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

// Large enough that small writes (a library's chunk headers) cost no system
// call each; a write this large goes straight to the file.
const size_t kBufferSize = 64 * 1024;

} // namespace

OutputBytes::~OutputBytes() {
    if (m_file != ToolPlatform::kNoFile) {
        std::string ignored;
        ToolPlatform::Close(m_file, ignored);
    }
}

bool OutputBytes::Fail(const std::string& cause) {
    if (m_failure.empty()) {
        m_failure = cause;
    }
    return false;
}

bool OutputBytes::Put(uint64_t start, const void* bytes, size_t count) {
    std::string error;
    // In order where the file's own position stands, so that a pipe works;
    // elsewhere at the bytes' place.
    if (start == m_fileOffset) {
        if (!ToolPlatform::WriteAll(m_file, bytes, count, error)) {
            return Fail(error);
        }
        m_fileOffset += count;
        return true;
    }
    return ToolPlatform::WriteAllAt(m_file, start, bytes, count, error) || Fail(error);
}

bool OutputBytes::Flush() {
    const size_t count = m_buffered;
    m_buffered = 0;
    return count == 0 || Put(m_position - count, m_buffer.get(), count);
}

bool OutputBytes::Write(const void* bytes, size_t count) {
    if (!m_failure.empty() || m_file == ToolPlatform::kNoFile) {
        return Fail("not open");
    }
    if (!m_buffer) {
        m_buffer.reset(new (std::nothrow) unsigned char[kBufferSize]);
        if (!m_buffer) {
            return Fail("out of memory");
        }
    }
    if (count >= kBufferSize) {
        if (!Flush() || !Put(m_position, bytes, count)) {
            return false;
        }
        m_position += count;
        return true;
    }
    if (m_buffered + count > kBufferSize && !Flush()) {
        return false;
    }
    std::memcpy(m_buffer.get() + m_buffered, bytes, count);
    m_buffered += count;
    m_position += count;
    return true;
}

bool OutputBytes::Seek(uint64_t position) {
    if (position == m_position) {
        return m_failure.empty();
    }
    if (!Flush()) {
        return false;
    }
    m_position = position;
    return m_failure.empty();
}

bool OutputBytes::Close() {
    if (m_file == ToolPlatform::kNoFile) {
        return Fail("not open");
    }
    bool flushed = m_failure.empty() && Flush();
    std::string error;
    bool closed = ToolPlatform::Close(std::exchange(m_file, ToolPlatform::kNoFile), error);
    if (!closed) {
        Fail(error);
    }
    return flushed && closed && m_failure.empty();
}

bool OutputBytes::Refuse(std::string& error, const std::string& reason) const {
    error = m_failure.empty() ? reason : m_failure;
    return false;
}
