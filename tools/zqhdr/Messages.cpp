#include "Messages.h"

#include "Commands.h"
#include "EscapedText.h"

#include <cstdio>

int Fail(const std::string& file, const std::string& reason) {
    // A file's name, or a reason quoting one, may hold bytes a terminal acts on.
    if (file.empty()) {
        std::fprintf(stderr, "zqhdr: %s\n", EscapedText(reason).c_str());
        return 1;
    }
    std::fprintf(stderr, "zqhdr: %s: %s\n", EscapedText(file).c_str(), EscapedText(reason).c_str());
    return 1;
}

int Usage(const std::string& command, const std::string& problem) {
    const char* help = HelpText(command);
    std::string text = help ? help : HelpText("");
    std::fprintf(stderr, "zqhdr: %s\n%s", EscapedText(problem).c_str(),
                 text.substr(0, text.find("\n\n") + 1).c_str());
    return 2;
}

const char* ResultText(BandedReader::Result result) {
    switch (result) {
    case BandedReader::Result::Decoded:
        return "decoded";
    case BandedReader::Result::HeaderRefused:
        return "not a Radiance RGBE image the reader accepts (header refused)";
    case BandedReader::Result::TooLarge:
        return "image too large";
    case BandedReader::Result::DataRefused:
        return "pixel data refused (truncated or malformed)";
    case BandedReader::Result::OutOfMemory:
        return "out of memory";
    default:
        return "cannot be written";
    }
}

std::string DecodeFailureText(BandedReader::Result result, const BandedReader& reader) {
    std::string text = ResultText(result);
    if (result == BandedReader::Result::DataRefused) {
        const BandedReader::RowRange& rows = reader.RefusedRows();
        text += rows.first == rows.last
                    ? " in row " + std::to_string(rows.first)
                    : " in rows " + std::to_string(rows.first) + " to " + std::to_string(rows.last);
    }
    return text;
}
