#include "StandardOutput.h"

#include "ToolPlatform.h"

#include <cstdlib>
#include <memory>
#include <new>

bool WritesInOrder(OutputKind kind, const ImageShape& shape) {
    return kind == OutputKind::Png || (kind == OutputKind::Raw && shape.rowsTopToBottom);
}

std::string SpoolFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

bool CopyToStandardOutput(const std::string& path, std::string& error) {
    const size_t kBufferSize = 256 * 1024;
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[kBufferSize]);
    if (!buffer) {
        error = "out of memory";
        return false;
    }
    ToolPlatform::FileHandle from = ToolPlatform::OpenForReading(path, error);
    if (from == ToolPlatform::kNoFile) {
        return false;
    }
    ToolPlatform::FileHandle to = ToolPlatform::StandardOutput(error);
    bool copied = to != ToolPlatform::kNoFile;
    while (copied) {
        long got = ToolPlatform::ReadSome(from, buffer.get(), kBufferSize, error);
        if (got <= 0) {
            copied = got == 0;
            break;
        }
        copied = ToolPlatform::WriteAll(to, buffer.get(), size_t(got), error);
    }
    std::string ignored;
    ToolPlatform::Close(from, ignored);
    if (to != ToolPlatform::kNoFile && !ToolPlatform::Close(to, error)) {
        copied = false;
    }
    return copied;
}
