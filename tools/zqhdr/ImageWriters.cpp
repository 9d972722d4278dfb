#include "ImageWriters.h"

OutputKind OutputKindOf(const std::string& path) {
    size_t dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot);
    for (char& c : extension) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return extension == ".raw"   ? OutputKind::Raw
           : extension == ".exr" ? OutputKind::Exr
           : extension == ".png" ? OutputKind::Png
                                 : OutputKind::Unknown;
}

const char* OutputExtension(OutputKind kind) {
    return kind == OutputKind::Raw ? ".raw" : kind == OutputKind::Exr ? ".exr" : ".png";
}

std::unique_ptr<BandSink> MakeWriter(OutputKind kind, ToolPlatform::FileHandle file,
                                     const std::string& path, double exposure) {
    switch (kind) {
    case OutputKind::Raw:
        return MakeRawWriter(file);
    case OutputKind::Exr:
        return MakeExrWriter(file, path);
    default:
        return MakePngWriter(file, exposure);
    }
}
