#include "Messages.h"

#include "Commands.h"

#include <cstdio>

int Fail(const std::string& file, const std::string& reason) {
    if (file.empty()) {
        std::fprintf(stderr, "zqhdr: %s\n", reason.c_str());
        return 1;
    }
    std::fprintf(stderr, "zqhdr: %s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

int Usage(const std::string& command, const std::string& problem) {
    const char* help = HelpText(command);
    std::string text = help ? help : HelpText("");
    std::fprintf(stderr, "zqhdr: %s\n%s", problem.c_str(),
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
