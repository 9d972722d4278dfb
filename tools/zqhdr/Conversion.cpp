#include "Conversion.h"

#include "BandedReader.h"
#include "InputStream.h"
#include "Messages.h"
#include "OutputFile.h"

bool ConvertFile(const std::string& in, const std::string& out, const ConversionSettings& settings,
                 TemporaryFiles& temporaries, ConversionFailure& failure,
                 unsigned long long& pixels) {
    InputStream file(in);
    if (!file.IsOpen()) {
        failure = {in, "cannot be opened"};
        return false;
    }
    OutputFile output(out, "zqhdr");
    std::unique_ptr<BandSink> writer =
        temporaries.Track(MakeWriter(settings.kind, output.TemporaryPath(), settings.exposure),
                          output.TemporaryPath());
    BandedReader reader;
    std::string error;
    BandedReader::Result result = reader.Decode(file, *writer, error);
    const ImageShape& shape = reader.Shape();
    pixels = static_cast<unsigned long long>(shape.width) * shape.height;
    writer.reset(); // closes the temporary file before it is renamed or removed
    if (result != BandedReader::Result::Decoded) {
        output.Discard();
        temporaries.Forget(output.TemporaryPath());
    }
    switch (result) {
    case BandedReader::Result::Decoded:
        if (!temporaries.Commit(output, error)) {
            failure = {out, "cannot be written: " + error};
            return false;
        }
        return true;
    case BandedReader::Result::TooLarge:
        failure = {in, "image too large (" + std::to_string(shape.width) + " x " +
                           std::to_string(shape.height) + ")"};
        return false;
    case BandedReader::Result::OutOfMemory:
        failure = {in, ResultText(result), true};
        return false;
    case BandedReader::Result::SinkFailed:
        failure = {out, "cannot be written: " + error};
        return false;
    default:
        failure = {in, ResultText(result)};
        return false;
    }
}
