#include "Conversion.h"

#include "BandedReader.h"
#include "OutputFile.h"

bool ConvertFile(const std::string& in, const std::string& out, OutputKind kind, double exposure,
                 ConversionFailure& failure, unsigned long long* pixels,
                 TemporaryFiles* temporaries) {
    ZqFile file(in.c_str());
    if (!file) {
        failure = {in, "cannot be opened"};
        return false;
    }
    OutputFile output(out, "zqhdr");
    std::unique_ptr<BandSink> writer = MakeWriter(kind, output.TemporaryPath(), exposure);
    if (temporaries) {
        writer = temporaries->Track(std::move(writer), output.TemporaryPath());
    }
    BandedReader reader;
    std::string error;
    BandedReader::Result result = reader.Decode(file, *writer, error);
    const ImageShape& shape = reader.Shape();
    if (pixels) {
        *pixels = static_cast<unsigned long long>(shape.width) * shape.height;
    }
    writer.reset(); // closes the temporary file before it is renamed or removed
    if (result != BandedReader::Result::Decoded) {
        output.Discard();
        if (temporaries) {
            temporaries->Forget(output.TemporaryPath());
        }
    }
    switch (result) {
    case BandedReader::Result::Decoded:
        if (!(temporaries ? temporaries->Commit(output, error) : output.Commit(error))) {
            failure = {out, "cannot be written: " + error};
            return false;
        }
        return true;
    case BandedReader::Result::TooLarge:
        failure = {in, "image too large (" + std::to_string(shape.width) + " x " +
                           std::to_string(shape.height) + ")"};
        return false;
    case BandedReader::Result::OutOfMemory:
        failure = {"", ResultText(result)}; // the machine's trouble, not the file's
        return false;
    case BandedReader::Result::SinkFailed:
        failure = {out, "cannot be written: " + error};
        return false;
    default:
        failure = {in, ResultText(result)};
        return false;
    }
}
