#pragma once

#include "ToolPlatform.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// How every writer writes its file: bytes in order, or at a position, through
// one buffer. The first failure is kept with its cause, and every call after
// it fails too, so a writer may check once, at the end.
class OutputBytes {
public:
    // Takes the open file over; kNoFile fails every call.
    explicit OutputBytes(ToolPlatform::FileHandle file) : m_file(file) {}
    ~OutputBytes(); // closes, unchecked, a file Close was not called for
    OutputBytes(const OutputBytes&) = delete;
    OutputBytes& operator=(const OutputBytes&) = delete;
    // At the position, which moves on.
    bool Write(const void* bytes, size_t count);
    bool Seek(uint64_t position);
    uint64_t Position() const { return m_position; }
    // Writes what is buffered and closes.
    bool Close();

    // The cause of the first failure ("No space left on device"), empty while
    // there is none.
    const std::string& Failure() const { return m_failure; }
    // Answers false with `error` set to the cause: the file's own failure
    // when there was one, else `reason` (a library's account of its own).
    bool Refuse(std::string& error, const std::string& reason) const;

private:
    bool Put(uint64_t start, const void* bytes, size_t count);
    bool Flush();
    bool Fail(const std::string& cause);

    ToolPlatform::FileHandle m_file;
    std::unique_ptr<unsigned char[]> m_buffer;
    size_t m_buffered = 0;
    uint64_t m_position = 0;   // where the next byte goes
    uint64_t m_fileOffset = 0; // where the file's own position stands
    std::string m_failure;
};
