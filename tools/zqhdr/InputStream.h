#pragma once

#include "ToolPlatform.h"
#include "ZqFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The tool's input: a stream that reads each byte of its source once, so that
// a pipe reads like a file. It keeps the bytes it has handed out since the
// last point the tool may return to, and serves a seek back from them: the
// reader's rewind to the start, and a decoder's seek back over what it read
// ahead and did not use. The source itself is never seeked.
class InputStream : public ZqFile {
public:
    // Always kept, whatever else is let go: the most recent bytes handed
    // out, twice the reader's read-ahead.
    static const size_t kRecentBytes = 512 * 1024;

    // "-" is standard input.
    explicit InputStream(const std::string& path);
    ~InputStream() override;

    // False when the source could not be opened, and the system's reason.
    bool IsOpen() const { return m_source != ToolPlatform::kNoFile; }
    const std::string& OpenError() const { return m_openError; }

    // Keeps every byte from the start, so that the tool may return there,
    // until Release or until kMostKeptFromStart bytes have been read. Only
    // before the first byte is read.
    void KeepFromStart() { m_keepAll = true; }
    static const size_t kMostKeptFromStart = size_t(64) << 20;
    // The source's first kPrefixBytes bytes, or fewer once they were read:
    // always kept, for the header lines a conversion carries over, so that
    // a header of megabytes costs no more memory than a short one.
    static const size_t kPrefixBytes = 64 * 1024;
    const std::string& Prefix() const { return m_prefix; }
    // From here on only the most recent kRecentBytes are kept.
    void Release() { m_keepAll = false; }
    // While keeping from the start: every byte handed out so far; else empty.
    std::string HandedOut() const;

    // Within the kept bytes; a position elsewhere (or from the end, which a
    // pipe does not know) fails, and so does every read after it, so that a
    // caller that does not check cannot go on at a wrong place.
    bool Seek(long offset, int origin) override;

protected:
    // Every byte passes through the kept bytes.
    size_t ReadBytes(void* buffer, size_t bytes) override;
    size_t Refill() override;

private:
    uint64_t Position() const;
    bool MakeRoom();
    void Fail();

    ToolPlatform::FileHandle m_source = ToolPlatform::kNoFile;
    std::string m_openError;
    std::string m_prefix;
    std::unique_ptr<unsigned char[]> m_buffer;
    size_t m_capacity = 0;
    size_t m_filled = 0; // bytes of the buffer read from the source
    uint64_t m_base = 0; // the stream position of the buffer's first byte
    bool m_keepAll = false;
    bool m_failed = false;
};
