#include "ImageWriters.h"
#include "MemoryWatch.h"
#include "OutputBytes.h"

#include <ImfChromaticities.h>
#include <ImfHeader.h>
#include <ImfIO.h>
#include <ImfInputFile.h>
#include <ImfRgbaFile.h>
#include <ImfStandardAttributes.h>
#include <ImfStringAttribute.h>
#include <ImfThreading.h>

#include <cmath>
#include <cstdlib>
#include <exception>
#include <map>
#include <stdexcept>
#include <utility>

namespace {

// OpenEXR's own file stream loses the last failures: the line offset table is
// written by a destructor that swallows errors, and the close goes unchecked,
// so a full disk would pass for a complete file. This stream writes through
// OutputBytes, which keeps the first failure for Finish to report.
class CheckedStream : public Imf::OStream {
public:
    CheckedStream(ToolPlatform::FileHandle file, const std::string& path)
        : Imf::OStream(path.c_str()), m_out(file) {}

    OutputBytes& Out() { return m_out; }

    void write(const char c[], int n) override {
        if (!m_out.Write(c, size_t(n))) {
            throw std::runtime_error(m_out.Failure());
        }
    }
    uint64_t tellp() override { return m_out.Position(); }
    void seekp(uint64_t position) override {
        if (!m_out.Seek(position)) {
            throw std::runtime_error(m_out.Failure());
        }
    }

private:
    OutputBytes m_out;
};

struct CompressionName {
    const char* name;
    Imf::Compression compression;
};

const CompressionName kCompressions[] = {
    {"none", Imf::NO_COMPRESSION},   {"rle", Imf::RLE_COMPRESSION},
    {"zips", Imf::ZIPS_COMPRESSION}, {"zip", Imf::ZIP_COMPRESSION},
    {"piz", Imf::PIZ_COMPRESSION},   {"pxr24", Imf::PXR24_COMPRESSION},
    {"b44", Imf::B44_COMPRESSION},   {"b44a", Imf::B44A_COMPRESSION},
    {"dwaa", Imf::DWAA_COMPRESSION}, {"dwab", Imf::DWAB_COMPRESSION},
};

Imf::Compression CompressionNamed(const std::string& name) {
    for (const CompressionName& entry : kCompressions) {
        if (name == entry.name) {
            return entry.compression;
        }
    }
    return Imf::ZIP_COMPRESSION;
}

// The source's header text carried over is capped, so that a header of
// megabytes cannot make the output (or the memory) grow with it.
const size_t kMostCarriedBytes = 16 * 1024;

// Eight numbers: red, green, blue and white x y. Parsed without a string
// stream, which would take a failed allocation for text that does not parse.
bool ParsePrimaries(const std::string& text, Imf::Chromaticities& chromaticities) {
    const char* next = text.c_str();
    float v[8];
    for (float& value : v) {
        char* end = nullptr;
        value = std::strtof(next, &end);
        if (end == next || !std::isfinite(value)) {
            return false;
        }
        next = end;
    }
    while (*next == ' ' || *next == '\t') {
        ++next;
    }
    if (*next != '\0') {
        return false;
    }
    chromaticities = Imf::Chromaticities(Imath::V2f(v[0], v[1]), Imath::V2f(v[2], v[3]),
                                         Imath::V2f(v[4], v[5]), Imath::V2f(v[6], v[7]));
    return true;
}

// The source's NAME=value lines as "hdr:NAME" (a name's second value as
// "hdr:NAME#2", and so on), its comment lines as "hdr:#1", "hdr:#2"...,
// "hdr:omitted" counting the lines past the cap; PRIMARIES also as the
// standard chromaticities where it parses; "software", the writer.
void CarryHeader(const HdrDescription& source, Imf::Header& header) {
    size_t carried = 0;
    unsigned omitted = 0;
    auto carry = [&](const std::string& name, const std::string& value) {
        if (carried + name.size() + value.size() > kMostCarriedBytes) {
            ++omitted;
            return;
        }
        carried += name.size() + value.size();
        header.insert(name, Imf::StringAttribute(value));
    };
    std::map<std::string, unsigned> seen;
    for (const auto& line : source.headerLines) {
        const unsigned count = ++seen[line.first];
        carry("hdr:" + line.first + (count == 1 ? "" : "#" + std::to_string(count)), line.second);
        Imf::Chromaticities chromaticities;
        if (line.first == "PRIMARIES" && count == 1 &&
            ParsePrimaries(line.second, chromaticities)) {
            Imf::addChromaticities(header, chromaticities);
        }
    }
    for (size_t i = 0; i < source.comments.size(); ++i) {
        carry("hdr:#" + std::to_string(i + 1), source.comments[i]);
    }
    if (omitted > 0) {
        header.insert("hdr:omitted", Imf::StringAttribute(std::to_string(omitted) + " lines"));
    }
    header.insert("software", Imf::StringAttribute(std::string("zqhdr ") + ZQ_VERSION));
}

// OpenEXR also swallows failures inside its compression (zlib running out of
// memory leaves a line buffer unwritten): the finished file is opened again
// and must say it is complete, every scanline in place.
bool IsComplete(const std::string& path, int width, int height) {
    Imf::InputFile file(path.c_str());
    const Imath::Box2i window = file.header().dataWindow();
    return file.isComplete() && window.max.x - window.min.x + 1 == width &&
           window.max.y - window.min.y + 1 == height;
}

// Scanlines are written in the order they are decoded: a bottom-to-top file
// becomes an OpenEXR file of decreasing line order.
class ExrWriter : public BandSink {
public:
    ExrWriter(ToolPlatform::FileHandle file, std::string path, const ConversionSettings& settings,
              const HdrDescription& source)
        : m_path(std::move(path)), m_settings(settings), m_source(source),
          m_stream(std::make_unique<CheckedStream>(file, m_path)) {}

    bool Begin(const ImageShape& shape, std::string& error) override {
        if (shape.width == 0 || shape.height == 0) {
            error = "an image without pixels cannot be written as OpenEXR";
            return false;
        }
        m_width = shape.width;
        m_height = shape.height;
        return Guarded(error, [&] {
            Imf::Header header(static_cast<int>(shape.width), static_cast<int>(shape.height));
            header.lineOrder() = shape.rowsTopToBottom ? Imf::INCREASING_Y : Imf::DECREASING_Y;
            header.compression() = CompressionNamed(m_settings.compression);
            CarryHeader(m_source, header);
            // More line buffers than one let the pool's threads compress them at once.
            const int threads = m_settings.threads > 1 ? int(m_settings.threads) : 0;
            m_file = std::make_unique<Imf::RgbaOutputFile>(
                *m_stream, header, m_settings.alpha ? Imf::WRITE_RGBA : Imf::WRITE_RGB, threads);
        });
    }

    bool Take(const Band& band, std::string& error) override {
        return Guarded(error, [&] {
            // The pixels are already four IEEE half floats each, as Imf::Rgba is.
            static_assert(sizeof(Imf::Rgba) == 8, "Rgba is four halves");
            const auto* first = reinterpret_cast<const Imf::Rgba*>(band.pixels);
            // OpenEXR addresses pixel (x, y) from a base of row 0.
            const Imf::Rgba* base = first - ptrdiff_t(band.firstRow) * ptrdiff_t(m_width);
            m_file->setFrameBuffer(base, 1, m_width);
            m_file->writePixels(static_cast<int>(band.rows));
        });
    }

    bool Finish(std::string& error) override {
        if (!Guarded(error, [&] { m_file.reset(); })) {
            return false;
        }
        if (!m_stream->Out().Close()) {
            return m_stream->Out().Refuse(error, "cannot be closed");
        }
        // zlib inside the library may have run out of memory without a word;
        // reading the file back resets errno.
        NoteOutOfMemoryFromErrno();
        bool complete = false;
        if (!Guarded(error, [&] { complete = IsComplete(m_path, int(m_width), int(m_height)); })) {
            return false;
        }
        error = "the OpenEXR library left the file incomplete";
        return complete;
    }

private:
    // OpenEXR reports by exception; the cause is the file's when it failed.
    template <typename Work> bool Guarded(std::string& error, Work work) {
        try {
            work();
            return true;
        } catch (const std::exception& problem) {
            // The library's C half allocates with malloc and aligned allocations.
            NoteOutOfMemoryFromErrno();
            NoteOutOfMemoryIfSaid(problem.what());
            return m_stream->Out().Refuse(error, problem.what());
        }
    }

    std::string m_path;
    const ConversionSettings& m_settings;
    const HdrDescription& m_source;
    size_t m_width = 0;
    size_t m_height = 0;
    // Declared before m_file, so that it outlives the file written through it.
    std::unique_ptr<CheckedStream> m_stream;
    std::unique_ptr<Imf::RgbaOutputFile> m_file;
};

} // namespace

std::unique_ptr<BandSink> MakeExrWriter(ToolPlatform::FileHandle file, const std::string& path,
                                        const ConversionSettings& settings,
                                        const HdrDescription& source) {
    return std::make_unique<ExrWriter>(file, path, settings, source);
}

void SetExrThreads(unsigned threads) {
    Imf::setGlobalThreadCount(threads > 1 ? int(threads) : 0);
}

bool IsExrCompression(const std::string& name) {
    for (const CompressionName& entry : kCompressions) {
        if (name == entry.name) {
            return true;
        }
    }
    return false;
}

const char* ExrCompressionNames() {
    return "none, rle, zips, zip, piz, pxr24, b44, b44a, dwaa or dwab";
}
