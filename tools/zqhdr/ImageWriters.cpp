#include "ImageWriters.h"

#include "ExposureSink.h"

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

std::unique_ptr<BandSink> MakeWriter(const ConversionSettings& settings,
                                     ToolPlatform::FileHandle file, const std::string& path,
                                     const HdrDescription& source) {
    switch (settings.kind) {
    case OutputKind::Raw:
        return Exposed(MakeRawWriter(file), settings.exposure);
    case OutputKind::Exr:
        return Exposed(MakeExrWriter(file, path, settings, source), settings.exposure);
    default:
        return MakePngWriter(file, settings.exposure, settings.threads);
    }
}
