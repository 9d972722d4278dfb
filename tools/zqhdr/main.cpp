// zqhdr: looks into and converts Radiance RGBE (.hdr) images with the
// engine's HDR reader.
//
//   zqhdr info FILE
//   zqhdr convert IN OUT [--exposure STOPS]     OUT: .raw, .exr or .png
//
// Exit status: 0 success; 1 the reader refuses the file, or the output cannot
// be written, or memory runs out; 2 usage errors.
#include "HdrImageSize.h"
#include "HdrProbe.h"
#include "ImageWriters.h"
#include "OutputFile.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: zqhdr info FILE\n"
    "       zqhdr convert IN OUT [--exposure STOPS]   (OUT: .raw .exr .png)\n";

enum class Output { Raw, Exr, Png, Unknown };

Output OutputKind(const std::string& path) {
    size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot);
    for (char& c : extension) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return extension == ".raw"   ? Output::Raw
           : extension == ".exr" ? Output::Exr
           : extension == ".png" ? Output::Png
                                 : Output::Unknown;
}

int Fail(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "zqhdr: %s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

int Usage(const std::string& problem) {
    std::fprintf(stderr, "zqhdr: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

int Info(const std::string& path) {
    ZqFile file(path.c_str());
    if (!file) {
        return Fail(path, "cannot be opened");
    }
    HdrProbe probe;
    HdrDescription d;
    if (!probe.Describe(file, d)) {
        return Fail(path, "not a Radiance RGBE image the reader accepts (header refused)");
    }
    std::printf("width: %u\nheight: %u\npixel format: RGBA64 (four 16-bit floats)\n"
                "encoding: %s\norientation: %s\n",
                d.width, d.height, d.runLength ? "run-length" : "flat", OrientationText(d).c_str());
    return 0;
}

bool Write(Output kind, const ZqPixelData& image, double exposure, const std::string& path,
           std::string& error) {
    switch (kind) {
    case Output::Raw:
        return WriteRaw(image, path, error);
    case Output::Exr:
        return WriteExr(image, path, error);
    default:
        return WritePng(image, exposure, path, error);
    }
}

int Convert(const std::string& in, const std::string& out, double exposure) {
    Output kind = OutputKind(out);
    if (kind == Output::Unknown) {
        return Usage(out + ": the output must end in .raw, .exr or .png");
    }
    ZqFile file(in.c_str());
    if (!file) {
        return Fail(in, "cannot be opened");
    }
    ZqHDRReader reader;
    unsigned width = 0, height = 0, faces = 1;
    ZqPixelFormat format;
    bool mipmaps = false;
    if (!reader.ReadHeader(file, width, height, format, mipmaps, faces)) {
        return Fail(in, "not a Radiance RGBE image the reader accepts (header refused)");
    }
    if (!HdrImageSizeIsSupported(width, height, format.GetBitsPerPixel() / 8u)) {
        return Fail(in, "image too large (" + std::to_string(width) + " x " +
                            std::to_string(height) + ")");
    }
    // The pixel memory is made here and handed to the reader to fill, so that
    // running out of memory is told apart from a refused file.
    ZqPointer<ZqPixelData> image = new ZqPixelData(width, height, format, 1, 1);
    if (!image->GetPixels(0)) {
        std::fprintf(stderr, "zqhdr: out of memory\n");
        return 1;
    }
    ZqPixelData* decoded = reader.ReadFile(file, image);
    if (!decoded) {
        return Fail(in, "pixel data refused (truncated or malformed)");
    }
    ZqPointer<ZqPixelData> keep(decoded); // the reader's own object, should it make one
    OutputFile output(out);
    std::string error;
    if (!Write(kind, *decoded, exposure, output.TemporaryPath(), error) || !output.Commit(error)) {
        return Fail(out, "cannot be written: " + error);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        std::vector<std::string> words(argv + 1, argv + argc);
        if (words.size() == 2 && words[0] == "info") {
            return Info(words[1]);
        }
        if (words.size() >= 3 && words[0] == "convert") {
            double exposure = 0.0;
            if (words.size() == 5 && words[3] == "--exposure") {
                char* end = nullptr;
                exposure = std::strtod(words[4].c_str(), &end);
                if (*end != '\0' || words[4].empty()) {
                    return Usage("--exposure needs a number of stops");
                }
            } else if (words.size() != 3) {
                return Usage("convert takes IN OUT [--exposure STOPS]");
            }
            return Convert(words[1], words[2], exposure);
        }
        return Usage(words.empty() ? "no command given" : "unknown command or arguments");
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "zqhdr: out of memory\n");
        return 1;
    }
}
