// zqhdr info [--json] [--stats] FILE...
#include "BandedReader.h"
#include "CommandLine.h"
#include "Commands.h"
#include "EscapedText.h"
#include "HdrDescription.h"
#include "ImageStats.h"
#include "JsonLine.h"
#include "MemoryWatch.h"
#include "Messages.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

namespace {

const char* const kChannels[3] = {"red", "green", "blue"};

nlohmann::ordered_json Triple(const double (&values)[3]) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (double value : values) {
        array.push_back(std::isnan(value) ? nlohmann::ordered_json()
                                          : nlohmann::ordered_json(value));
    }
    return array;
}

void PrintJson(const std::string& path, const HdrDescription& d, const PixelStats* stats) {
    nlohmann::ordered_json object;
    object["file"] = path;
    object["width"] = d.shape.width;
    object["height"] = d.shape.height;
    object["encoding"] = d.runLength ? "run-length" : "flat";
    object["orientation"] = OrientationTokens(d);
    object["resolution"] = d.resolution;
    object["header"] = nlohmann::ordered_json::array();
    for (const auto& entry : d.headerLines) {
        object["header"].push_back({entry.first, entry.second});
    }
    object["comments"] = d.comments;
    if (stats) {
        object["stats"] = {{"min", Triple(stats->min)},
                           {"max", Triple(stats->max)},
                           {"mean", Triple(stats->mean)},
                           {"overflowed", stats->overflowed},
                           {"black", stats->black}};
    }
    PrintJsonLine(object);
}

void PrintText(const std::string& path, bool named, const HdrDescription& d,
               const PixelStats* stats) {
    // Names and header text are bytes from anywhere: nothing in them may act
    // on the terminal.
    if (named) {
        std::printf("%s:\n", EscapedText(path).c_str());
    }
    std::printf("width: %u\nheight: %u\npixel format: RGBA64 (four 16-bit floats)\n"
                "encoding: %s\norientation: %s\nresolution: %s\n",
                d.shape.width, d.shape.height, d.runLength ? "run-length" : "flat",
                OrientationText(d).c_str(), EscapedText(d.resolution).c_str());
    for (const auto& entry : d.headerLines) {
        std::printf("header: %s=%s\n", EscapedText(entry.first).c_str(),
                    EscapedText(entry.second).c_str());
    }
    for (const std::string& comment : d.comments) {
        std::printf("comment: %s\n", EscapedText(comment).c_str());
    }
    if (stats) {
        for (int c = 0; c < 3; ++c) {
            std::printf("%s: min %.9g max %.9g mean %.9g\n", kChannels[c], stats->min[c],
                        stats->max[c], stats->mean[c]);
        }
        std::printf("overflowed: %llu\nblack: %llu\n",
                    static_cast<unsigned long long>(stats->overflowed),
                    static_cast<unsigned long long>(stats->black));
    }
}

// Empty, or why the file could not be described.
std::string Describe(const std::string& path, const CommandLine& options, bool named) {
    const MemoryWatch memory;
    InputStream stream(path);
    if (!stream.IsOpen()) {
        return "cannot be opened: " + stream.OpenError();
    }
    stream.KeepFromStart(); // for the header lines
    BandedReader reader;
    HdrDescription description;
    if (!DescribeImage(reader, stream, description)) {
        return memory.RanOut() ? "out of memory" : ResultText(BandedReader::Result::HeaderRefused);
    }
    StatsSink stats;
    if (options.stats) {
        std::string error;
        BandedReader::Result result = reader.DecodePixels(stream, stats, error);
        if (result != BandedReader::Result::Decoded) {
            return memory.RanOut() ? "out of memory" : DecodeFailureText(result, reader);
        }
    }
    const PixelStats* shown = options.stats ? &stats.Stats() : nullptr;
    if (options.json) {
        PrintJson(path, description, shown);
    } else {
        PrintText(path, named, description, shown);
    }
    return "";
}

// 0, or 1 after telling why the file could not be described: on stderr, and
// with --json also in the file's line, so that lines and files pair up.
int InfoOnFile(const std::string& path, const CommandLine& options, bool named) {
    std::string failure = Describe(path, options, named);
    if (failure.empty()) {
        return 0;
    }
    if (options.json) {
        nlohmann::ordered_json object;
        object["file"] = path;
        object["error"] = failure;
        PrintJsonLine(object);
    }
    return Fail(path, failure);
}

} // namespace

int RunInfo(const std::vector<std::string>& words) {
    CommandLine options;
    std::string problem = ParseCommandLine("info", words, options);
    if (!problem.empty()) {
        return Usage("info", problem);
    }
    const std::vector<std::string>& files = options.operands;
    if (files.empty()) {
        return Usage("info", "info needs at least one FILE");
    }
    int status = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        if (!options.json && i > 0) {
            std::printf("\n");
        }
        status |= InfoOnFile(files[i], options, files.size() > 1);
        std::fflush(stdout);
    }
    return status;
}
