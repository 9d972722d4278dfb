// zqhdr convert IN OUT [options]: a batch of one, that tells only of a
// failure. IN or OUT "-" is standard input or output.
#include "CommandLine.h"
#include "Commands.h"
#include "JobRunner.h"
#include "Messages.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace {

class FailureReport : public JobReport {
public:
    void Converted(const BatchJob&, unsigned long long) override {}
    void Failed(const BatchJob&, const ConversionFailure& failure) override {
        // Memory is the machine's trouble, and there is only the one file.
        Fail(failure.outOfMemory ? "" : failure.file, failure.reason);
        m_failed = true;
    }
    void Interrupted() override { std::fprintf(stderr, "zqhdr: interrupted\n"); }

    bool HasFailed() const { return m_failed; }

private:
    bool m_failed = false;
};

} // namespace

int RunConvert(const std::vector<std::string>& words) {
    CommandLine options;
    std::string problem = ParseCommandLine("convert", words, options);
    if (!problem.empty()) {
        return Usage("convert", problem);
    }
    const std::vector<std::string>& paths = options.operands;
    if (paths.size() != 2) {
        return Usage("convert", "convert takes IN OUT");
    }
    ConversionSettings settings = options.conversion;
    // "-" is standard output, whose kind --to gives; a named output's kind
    // is its extension's, which --to may only repeat.
    settings.kind = paths[1] == "-" ? options.to : OutputKindOf(paths[1]);
    if (settings.kind == OutputKind::Unknown) {
        return Usage("convert", paths[1] == "-"
                                    ? "writing to standard output needs --to raw|exr|png"
                                    : paths[1] + ": the output must end in .raw, .exr or .png");
    }
    if (options.to != OutputKind::Unknown && options.to != settings.kind) {
        return Usage("convert", paths[1] + ": --to disagrees with the output's extension");
    }
    settings.threads =
        options.threads > 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    SetExrThreads(settings.threads);
    FailureReport report;
    if (!RunJobs({{paths[0], paths[1]}}, settings, 1, report)) {
        return 1;
    }
    return report.HasFailed() ? 1 : 0;
}
