#include "ModuleFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

// Reads numbers from a file at given offsets, in the file's byte order. Any
// read that runs past the end clears `whole`.
class FileNumbers {
public:
    FileNumbers(const std::string& path, std::uint64_t size)
        : m_stream(path, std::ios::binary), m_size(size) {}

    bool Opened() const { return static_cast<bool>(m_stream); }
    bool Holds(std::uint64_t offset, std::uint64_t length) const {
        return offset <= m_size && length <= m_size - offset;
    }
    std::uint64_t Read(std::uint64_t offset, unsigned width) {
        unsigned char bytes[8] = {};
        if (!Holds(offset, width) || !m_stream.seekg(std::streamoff(offset)) ||
            !m_stream.read(reinterpret_cast<char*>(bytes), width)) {
            whole = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (unsigned i = 0; i < width; ++i) {
            value |= std::uint64_t(bytes[i]) << (8 * (bigEndian ? width - 1 - i : i));
        }
        return value;
    }

    bool whole = true;
    bool bigEndian = false;

private:
    std::ifstream m_stream;
    std::uint64_t m_size;
};

const char* const kCutShort = "the file is shorter than its headers say";

// Every segment the program headers name lies inside the file.
bool ElfIsWhole(FileNumbers& file) {
    bool wide = file.Read(4, 1) == 2; // ELFCLASS64
    file.bigEndian = file.Read(5, 1) == 2;
    unsigned word = wide ? 8 : 4;
    std::uint64_t table = file.Read(wide ? 32 : 28, word);
    std::uint64_t entrySize = file.Read(wide ? 54 : 42, 2);
    std::uint64_t count = file.Read(wide ? 56 : 44, 2);
    if (!file.whole || entrySize < (wide ? 56u : 32u) || !file.Holds(table, entrySize * count)) {
        return false;
    }
    for (std::uint64_t i = 0; i < count && file.whole; ++i) {
        std::uint64_t entry = table + i * entrySize;
        std::uint64_t offset = file.Read(entry + (wide ? 8 : 4), word);
        std::uint64_t length = file.Read(entry + (wide ? 32 : 16), word);
        if (!file.Holds(offset, length)) {
            return false;
        }
    }
    return file.whole;
}

// Every section's raw data lies inside the file. A file without the PE
// signature is not measured.
bool PeIsWhole(FileNumbers& file) {
    std::uint64_t header = file.Read(0x3C, 4);
    if (file.whole && file.Holds(header, 4) && file.Read(header, 4) != 0x4550) {
        return true;
    }
    std::uint64_t count = file.Read(header + 6, 2);
    std::uint64_t table = header + 24 + file.Read(header + 20, 2);
    if (!file.whole || !file.Holds(table, 40 * count)) {
        return false;
    }
    for (std::uint64_t i = 0; i < count && file.whole; ++i) {
        std::uint64_t length = file.Read(table + 40 * i + 16, 4);
        std::uint64_t offset = file.Read(table + 40 * i + 20, 4);
        if (length != 0 && !file.Holds(offset, length)) {
            return false;
        }
    }
    return file.whole;
}

} // namespace

std::string ModuleFileProblem(const std::string& path) {
    std::error_code code;
    std::uint64_t size = std::filesystem::file_size(path, code);
    FileNumbers file(path, size);
    if (code || !file.Opened()) {
        return "the file cannot be read";
    }
    std::uint64_t magic = file.Read(0, 4);
    if (file.whole && magic == 0x464C457F) { // "\x7F" "ELF"
        return ElfIsWhole(file) ? "" : kCutShort;
    }
    if (file.Read(0, 2) == 0x5A4D) { // "MZ"
        return PeIsWhole(file) ? "" : kCutShort;
    }
    return "";
}
