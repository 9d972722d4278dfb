// zqhdr batch INPUT... --to raw|exr|png --out DIR [--jobs N] [--exposure STOPS]
#include "BatchJobs.h"
#include "CommandLine.h"
#include "Commands.h"
#include "JobRunner.h"
#include "Messages.h"
#include "ProgressReport.h"

#include <algorithm>
#include <thread>

namespace {

// The usage problem, or empty when the words make a batch.
std::string ParseBatch(const std::vector<std::string>& words, CommandLine& options) {
    std::string problem = ParseCommandLine("batch", words, options);
    if (!problem.empty()) {
        return problem;
    }
    if (options.operands.empty()) {
        return "batch needs at least one INPUT";
    }
    if (options.to == OutputKind::Unknown) {
        return "batch needs --to raw|exr|png";
    }
    if (options.out.empty()) {
        return "batch needs --out DIR";
    }
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (options.jobs == 0) {
        options.jobs = cores;
    }
    if (options.threads == 0) {
        options.threads = cores;
    }
    return "";
}

} // namespace

int RunBatch(const std::vector<std::string>& words) {
    CommandLine options;
    std::string problem = ParseBatch(words, options);
    if (!problem.empty()) {
        return Usage("batch", problem);
    }
    std::vector<BatchJob> jobs;
    std::vector<PlanFailure> planFailures;
    PlanBatch(options.operands, options.out, options.to, jobs, planFailures);
    uintmax_t bytesTotal = 0;
    for (const BatchJob& job : jobs) {
        bytesTotal += job.bytes;
    }
    ProgressReport report(jobs.size() + planFailures.size(), bytesTotal, options.json);
    for (const PlanFailure& failure : planFailures) {
        report.Failed(failure.file, failure.reason);
    }
    ConversionSettings settings = options.conversion;
    settings.kind = options.to;
    settings.makeFolders = true;
    // The files at once share the threads; OpenEXR's pool serves them all.
    settings.threads = std::max(1u, options.threads / options.jobs);
    SetExrThreads(settings.threads * std::min<size_t>(options.jobs, jobs.size()));
    if (!RunJobs(jobs, settings, options.jobs, report)) {
        return 1;
    }
    report.Summary();
    return report.FailedFiles() > 0 ? 1 : 0;
}
