#include "Conversion.h"

#include "BandedReader.h"
#include "Downscale.h"
#include "HdrDescription.h"
#include "ImageWriters.h"
#include "InputStream.h"
#include "MemoryWatch.h"
#include "Messages.h"
#include "OutputFile.h"
#include "StandardOutput.h"

namespace {

// Why a decode that did not finish failed.
ConversionFailure DecodeFailure(BandedReader::Result result, const BandedReader& reader,
                                const std::string& in, const std::string& out,
                                const std::string& error) {
    const ImageShape& shape = reader.Shape();
    switch (result) {
    case BandedReader::Result::TooLarge:
        return {in, "image too large (" + std::to_string(shape.width) + " x " +
                        std::to_string(shape.height) + ")"};
    case BandedReader::Result::SinkFailed:
        return {out, "cannot be written: " + error};
    default:
        return {in, DecodeFailureText(result, reader)};
    }
}

// Decodes into the output's temporary file, which the caller commits or
// discards; false with `failure` set. The header comes first: a refused one
// makes no file, and the writer gets the header's lines to carry.
bool Decode(InputStream& file, OutputFile& output, const std::string& in, const std::string& out,
            const ConversionSettings& settings, TemporaryFiles& temporaries,
            ConversionFailure& failure, unsigned long long& pixels, DecodeProgress* progress) {
    BandedReader reader;
    if (!reader.ReadImageHeader(file)) {
        failure = {in, ResultText(BandedReader::Result::HeaderRefused)};
        return false;
    }
    HdrDescription source;
    source.shape = reader.Shape();
    ReadHeaderLines(file.Prefix(), source);
    const ImageShape& shape = reader.Shape();
    pixels = static_cast<unsigned long long>(shape.width) * shape.height;
    if (progress) {
        progress->Began(pixels);
    }

    // Standard output takes the bytes straight, or through a spool file.
    const bool toStandardOutput = out == "-";
    const bool direct = toStandardOutput && WritesInOrder(settings.kind, shape);
    std::string error;
    ToolPlatform::FileHandle handle =
        direct ? ToolPlatform::StandardOutput(error) : temporaries.Create(output, error);
    if (handle == ToolPlatform::kNoFile) {
        failure = {toStandardOutput ? "standard output" : out, "cannot be written: " + error};
        return false;
    }
    std::unique_ptr<BandSink> writer;
    try {
        writer = MakeWriter(settings, handle, output.TemporaryPath(), source);
    } catch (...) {
        std::string ignored;
        ToolPlatform::Close(handle, ignored); // the writer never took it
        throw;
    }
    // Bands are counted as decoded, then made smaller when asked for.
    Downscale sized(*writer, settings.maxSize);
    CountingSink counted(sized, progress);
    BandedReader::Result result = reader.DecodePixels(file, counted, error);
    writer.reset(); // closes the file before it is renamed, copied or removed
    if (result != BandedReader::Result::Decoded) {
        failure =
            DecodeFailure(result, reader, in, toStandardOutput ? "standard output" : out, error);
        return false;
    }
    if (toStandardOutput) {
        if (!direct && !CopyToStandardOutput(output.TemporaryPath(), error)) {
            failure = {"standard output", "cannot be written: " + error};
            return false;
        }
        return true; // the spool, never committed, goes with its OutputFile
    }
    if (!temporaries.Commit(output, error)) {
        failure = {out, "cannot be written: " + error};
        return false;
    }
    return true;
}

} // namespace

bool ConvertFile(const std::string& in, const std::string& out, const ConversionSettings& settings,
                 TemporaryFiles& temporaries, ConversionFailure& failure,
                 unsigned long long& pixels, DecodeProgress* progress) {
    const MemoryWatch memory;
    InputStream file(in);
    if (!file.IsOpen()) {
        failure = {in, "cannot be opened: " + file.OpenError()};
        return false;
    }
    OutputFile output(out == "-" ? SpoolFolder() + "/standard-output" : out, "zqhdr");
    bool converted = false;
    try {
        converted = Decode(file, output, in, out, settings, temporaries, failure, pixels, progress);
    } catch (...) {
        output.Discard();
        temporaries.Forget(output.TemporaryPath());
        throw;
    }
    if (!converted || out == "-") {
        output.Discard();
        temporaries.Forget(output.TemporaryPath());
    }
    if (!converted) {
        // However a library put it, and whichever file it blamed.
        if (memory.RanOut()) {
            failure = {in, "out of memory", true};
        }
    }
    return converted;
}
