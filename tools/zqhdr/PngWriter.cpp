#include "ImageWriters.h"
#include "OutputBytes.h"
#include "ToneMap.h"

#include <csetjmp>
#include <cstdio>
#include <png.h>
#include <vector>
#include <zlib.h>

namespace {

// libpng reports errors by longjmp: every call into it goes through one of
// the small functions below, which hold no object with a destructor.
struct PngState {
    explicit PngState(ToolPlatform::FileHandle file) : out(file) {}
    png_structp png = nullptr;
    png_infop info = nullptr;
    OutputBytes out;
    char message[256] = "cannot write PNG";
};

void OnError(png_structp png, png_const_charp text) {
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", text);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The file's failure goes through libpng's error path; its cause stays with
// the file.
void OnWrite(png_structp png, png_bytep bytes, size_t count) {
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    if (!state->out.Write(bytes, count)) {
        png_error(png, "write failed");
    }
}

void OnFlush(png_structp) {}

bool StartPng(PngState& state, png_uint_32 width, png_uint_32 height) {
    if (setjmp(png_jmpbuf(state.png))) {
        return false;
    }
    png_set_write_fn(state.png, &state, OnWrite, OnFlush);
    png_set_IHDR(state.png, state.info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // A preview: speed before size. The Up filter and Huffman-only coding
    // keep most of the gain of full deflate at a fraction of its time.
    png_set_filter(state.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(state.png, 1);
    png_set_compression_strategy(state.png, Z_HUFFMAN_ONLY);
    png_set_sRGB(state.png, state.info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(state.png, state.info);
    return true;
}

bool WriteRows(PngState& state, unsigned char* rows, size_t rowBytes, unsigned count) {
    if (setjmp(png_jmpbuf(state.png))) {
        return false;
    }
    for (unsigned i = 0; i < count; ++i) {
        png_write_row(state.png, rows + i * rowBytes);
    }
    return true;
}

bool EndPng(PngState& state) {
    if (setjmp(png_jmpbuf(state.png))) {
        return false;
    }
    png_write_end(state.png, nullptr);
    return true;
}

// Top-to-bottom files are written band by band; bottom-to-top ones keep the
// 8-bit preview until the top row has arrived.
class PngWriter : public BandSink {
public:
    PngWriter(ToolPlatform::FileHandle file, double exposure) : m_tone(exposure), m_state(file) {}
    ~PngWriter() override {
        if (m_state.png) {
            png_destroy_write_struct(&m_state.png, &m_state.info);
        }
    }

    bool Begin(const ImageShape& shape, std::string& error) override {
        if (shape.width == 0 || shape.height == 0) {
            error = "an image without pixels cannot be written as PNG";
            return false;
        }
        m_shape = shape;
        m_rowBytes = size_t(shape.width) * 3;
        m_state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &m_state, OnError, OnWarning);
        m_state.info = m_state.png ? png_create_info_struct(m_state.png) : nullptr;
        if (!m_state.info || !StartPng(m_state, shape.width, shape.height)) {
            return Failed(error);
        }
        return true;
    }

    bool Take(const Band& band, std::string& error) override {
        if (!m_shape.rowsTopToBottom) {
            if (m_preview.empty()) {
                m_preview.resize(m_rowBytes * m_shape.height);
            }
            for (unsigned i = 0; i < band.rows; ++i) {
                m_tone.Row(band.pixels + i * m_shape.width * size_t(8), m_shape.width,
                           m_preview.data() + (band.firstRow + i) * m_rowBytes);
            }
            return true;
        }
        m_rows.resize(m_rowBytes * band.rows);
        m_tone.Row(band.pixels, size_t(band.rows) * m_shape.width, m_rows.data());
        return WriteRows(m_state, m_rows.data(), m_rowBytes, band.rows) || Failed(error);
    }

    bool Finish(std::string& error) override {
        if (!m_shape.rowsTopToBottom &&
            !WriteRows(m_state, m_preview.data(), m_rowBytes, m_shape.height)) {
            return Failed(error);
        }
        return (EndPng(m_state) && m_state.out.Close()) || Failed(error);
    }

private:
    bool Failed(std::string& error) { return m_state.out.Refuse(error, m_state.message); }

    ToneMap m_tone;
    ImageShape m_shape;
    size_t m_rowBytes = 0;
    PngState m_state;
    std::vector<unsigned char> m_rows;    // one band's RGB rows
    std::vector<unsigned char> m_preview; // bottom-to-top files: the whole preview
};

} // namespace

std::unique_ptr<BandSink> MakePngWriter(ToolPlatform::FileHandle file, double exposure) {
    return std::make_unique<PngWriter>(file, exposure);
}
