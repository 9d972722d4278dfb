#include "JobRunner.h"

#include "MemoryWatch.h"
#include "Messages.h"
#include "ToolPlatform.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

// What the threads share: the next job to take and how many have ended.
struct RunState {
    RunState(const std::vector<BatchJob>& jobs, const ConversionSettings& settings,
             JobReport& report, ToolPlatform::StopSignals& stops)
        : jobs(jobs), settings(settings), report(report), stops(stops) {}

    const std::vector<BatchJob>& jobs;
    const ConversionSettings& settings;
    JobReport& report;
    ToolPlatform::StopSignals& stops;
    std::atomic<size_t> next{0};
    std::atomic<size_t> jobsEnded{0};
    TemporaryFiles temporaries;
};

// One job's decode, told to the run's report.
class JobProgress : public DecodeProgress {
public:
    JobProgress(const BatchJob& job, JobReport& report) : m_job(job), m_report(report) {}
    void Began(unsigned long long pixels) override { m_report.Began(m_job, pixels); }
    void Decoded(unsigned long long pixels) override { m_report.Decoded(m_job, pixels); }

private:
    const BatchJob& m_job;
    JobReport& m_report;
};

// An output that exists and was written after its input was last changed.
bool IsUpToDate(const BatchJob& job) {
    std::error_code error;
    const fs::file_time_type output = fs::last_write_time(job.output, error);
    if (error) {
        return false;
    }
    const fs::file_time_type input = fs::last_write_time(job.input, error);
    return !error && output > input;
}

void Convert(const BatchJob& job, RunState& state) {
    if (state.settings.skipExisting && IsUpToDate(job)) {
        state.report.Skipped(job);
        return;
    }
    ConversionFailure failure;
    unsigned long long pixels = 0;
    JobProgress progress(job, state.report);
    if (state.settings.makeFolders) {
        std::error_code error;
        fs::create_directories(fs::path(job.output).parent_path(), error);
        if (error) {
            state.report.Failed(job, {job.output, "cannot be written: " + error.message()});
            return;
        }
    }
    if (ConvertFile(job.input, job.output, state.settings, state.temporaries, failure, pixels,
                    &progress)) {
        state.report.Converted(job, pixels);
    } else {
        state.report.Failed(job, failure);
    }
}

void ReportOutOfMemory(const BatchJob& job, JobReport& report) {
    try {
        report.Failed(job, {job.input, "out of memory", true});
    } catch (const std::bad_alloc&) {
        // Not even the line could be made: a fixed text still tells it.
        std::fputs("zqhdr: out of memory\n", stderr);
    }
}

void Work(RunState& state) {
    for (size_t i = state.next++; i < state.jobs.size(); i = state.next++) {
        try {
            Convert(state.jobs[i], state);
        } catch (const std::bad_alloc&) {
            // One image too large for memory fails alone; its temporary file
            // went with the unwinding.
            ReportOutOfMemory(state.jobs[i], state.report);
        }
        if (++state.jobsEnded == state.jobs.size()) {
            state.stops.Wake(); // the waiting thread need not wait for its next tick
        }
    }
}

} // namespace

bool RunJobs(const std::vector<BatchJob>& jobs, const ConversionSettings& settings,
             unsigned threads, JobReport& report) {
    ToolPlatform::IgnoreWriteSignals();
    // The stop signals wait for this thread, which removes the temporary
    // files of the conversions under way before the process ends.
    ToolPlatform::StopSignals stops;
    RunState state(jobs, settings, report, stops);
    std::vector<std::thread> workers;
    const size_t count = std::min<size_t>(threads, jobs.size());
    const MemoryWatch memory;
    bool outOfMemory = false;
    try {
        workers.reserve(count);
        for (size_t i = 0; i < count; ++i) {
            workers.emplace_back(Work, std::ref(state));
        }
    } catch (const std::system_error&) {
        // The threads that did start take every job.
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
    if (count > 0 && workers.empty()) {
        Fail("", outOfMemory || memory.RanOut() ? "out of memory"
                                                : "cannot start a thread to convert with");
        return false;
    }
    auto stopOn = [&](int signal) {
        if (signal != 0) {
            state.temporaries.Sweep();
            report.Interrupted();
            ToolPlatform::StopSignals::EndBy(signal);
        }
    };
    while (state.jobsEnded < jobs.size()) {
        stopOn(stops.WaitForStop(50));
        report.Tick();
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    // A signal that came while the last job ended, between two waits, is
    // still a stop.
    stopOn(stops.WaitForStop(0));
    return true;
}
