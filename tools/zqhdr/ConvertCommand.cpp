// zqhdr convert IN OUT [--exposure STOPS]
#include "Commands.h"
#include "Conversion.h"

int RunConvert(const std::vector<std::string>& words) {
    double exposure = 0.0;
    std::vector<std::string> paths;
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--exposure") {
            if (i + 1 == words.size() || !ParseStops(words[i + 1], exposure)) {
                return Usage("convert", "--exposure needs a number of stops");
            }
            ++i;
        } else {
            paths.push_back(words[i]);
        }
    }
    if (paths.size() != 2) {
        return Usage("convert", "convert takes IN OUT [--exposure STOPS]");
    }
    OutputKind kind = OutputKindOf(paths[1]);
    if (kind == OutputKind::Unknown) {
        return Usage("convert", paths[1] + ": the output must end in .raw, .exr or .png");
    }
    ConversionFailure failure;
    if (!ConvertFile(paths[0], paths[1], kind, exposure, failure)) {
        return Fail(failure.file, failure.reason);
    }
    return 0;
}
