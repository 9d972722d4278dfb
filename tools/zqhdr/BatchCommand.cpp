// zqhdr batch INPUT... --to raw|exr|png --out DIR [--jobs N] [--exposure STOPS]
#include "BatchJobs.h"
#include "CommandLine.h"
#include "Commands.h"
#include "Conversion.h"
#include "Messages.h"
#include "StopSignals.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <new>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

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
    if (options.jobs == 0) {
        options.jobs =
            std::thread::hardware_concurrency() > 0 ? std::thread::hardware_concurrency() : 1;
    }
    return "";
}

// What the threads share: the next job to take and what has been done.
struct BatchState {
    std::vector<BatchJob> jobs;
    std::atomic<size_t> next{0};
    std::atomic<size_t> finished{0};
    std::mutex report; // one line at a time on stderr
    size_t converted = 0;
    size_t failed = 0;
    unsigned long long pixels = 0;
    uintmax_t bytesDone = 0;
    uintmax_t bytesTotal = 0;
    TemporaryFiles temporaries;
};

class Reporter {
public:
    Reporter(BatchState& state, size_t total)
        : m_state(state), m_total(total), m_terminal(::isatty(STDERR_FILENO) == 1),
          m_start(Clock::now()), m_drawn(m_start) {}

    // A failed file: always one line.
    void Failed(const std::string& line, uintmax_t bytes = 0) {
        std::lock_guard<std::mutex> hold(m_state.report);
        ++m_done;
        ++m_state.failed;
        m_state.bytesDone += bytes;
        Line("zqhdr: " + line);
    }
    void Converted(const BatchJob& job, unsigned long long pixels) {
        std::lock_guard<std::mutex> hold(m_state.report);
        ++m_done;
        ++m_state.converted;
        m_state.pixels += pixels;
        m_state.bytesDone += job.bytes;
        if (!m_terminal) {
            Line("zqhdr: " + job.input + " -> " + job.output);
        } else {
            Progress();
        }
    }
    // Redrawn now and then, so that the rate and time left move on a terminal.
    void Tick() {
        std::lock_guard<std::mutex> hold(m_state.report);
        if (m_terminal && Clock::now() - m_drawn > std::chrono::milliseconds(250)) {
            Progress();
        }
    }
    void Summary() {
        std::lock_guard<std::mutex> hold(m_state.report);
        double seconds = Seconds();
        std::string text = "zqhdr: " + std::to_string(m_state.converted) + " of " +
                           std::to_string(m_total) + " files converted";
        if (m_state.failed > 0) {
            text += ", " + std::to_string(m_state.failed) + " failed";
        }
        char figures[128];
        std::snprintf(figures, sizeof figures, "; %.1f megapixels in %.1f s", m_state.pixels / 1e6,
                      seconds);
        Line(text + figures);
    }

private:
    using Clock = std::chrono::steady_clock;

    double Seconds() const { return std::chrono::duration<double>(Clock::now() - m_start).count(); }
    void Line(const std::string& text) {
        std::fprintf(stderr, "%s%s\n", m_terminal ? "\r\033[K" : "", text.c_str());
        if (m_terminal && m_done < m_total) {
            Progress();
        }
    }
    void Progress() {
        m_drawn = Clock::now();
        double seconds = Seconds();
        double rate = seconds > 0 ? m_state.pixels / 1e6 / seconds : 0;
        std::string left = "--:--";
        if (m_state.bytesDone > 0 && m_state.bytesTotal > m_state.bytesDone) {
            double remaining = seconds * double(m_state.bytesTotal - m_state.bytesDone) /
                               double(m_state.bytesDone);
            char text[32];
            unsigned whole = static_cast<unsigned>(remaining + 0.5);
            std::snprintf(text, sizeof text, "%u:%02u", whole / 60, whole % 60);
            left = text;
        } else if (m_done == m_total) {
            left = "0:00";
        }
        std::fprintf(stderr, "\r\033[Kzqhdr: %zu of %zu files, %.1f MP/s, %s left", m_done, m_total,
                     rate, left.c_str());
        std::fflush(stderr);
    }

    BatchState& m_state;
    size_t m_total;
    size_t m_done = 0;
    bool m_terminal;
    Clock::time_point m_start;
    Clock::time_point m_drawn;
};

void Convert(const BatchJob& job, BatchState& state, Reporter& reporter,
             const CommandLine& options) {
    ConversionFailure failure;
    unsigned long long pixels = 0;
    std::error_code error;
    fs::create_directories(fs::path(job.output).parent_path(), error);
    if (error) {
        reporter.Failed(job.output + ": cannot be written: " + error.message(), job.bytes);
    } else if (ConvertFile(job.input, job.output, options.to, options.exposure, failure, &pixels,
                           &state.temporaries)) {
        reporter.Converted(job, pixels);
    } else {
        reporter.Failed((failure.file.empty() ? job.input : failure.file) + ": " + failure.reason,
                        job.bytes);
    }
}

void Work(BatchState& state, Reporter& reporter, const CommandLine& options) {
    for (size_t i = state.next++; i < state.jobs.size(); i = state.next++) {
        try {
            Convert(state.jobs[i], state, reporter, options);
        } catch (const std::bad_alloc&) {
            // One image too large for memory fails alone; its temporary file
            // went with the unwinding.
            reporter.Failed(state.jobs[i].input + ": out of memory", state.jobs[i].bytes);
        }
        ++state.finished;
    }
}

// Ends the process by `signal`, as if it had not been caught.
[[noreturn]] void DieBy(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(signal);
    std::_Exit(128 + signal);
}

} // namespace

int RunBatch(const std::vector<std::string>& words) {
    CommandLine options;
    std::string problem = ParseBatch(words, options);
    if (!problem.empty()) {
        return Usage("batch", problem);
    }
    IgnoreWriteSignals();
    BatchState state;
    std::vector<std::string> planFailures;
    PlanBatch(options.operands, options.out, options.to, state.jobs, planFailures);
    for (const BatchJob& job : state.jobs) {
        state.bytesTotal += job.bytes;
    }
    Reporter reporter(state, state.jobs.size() + planFailures.size());
    for (const std::string& failure : planFailures) {
        reporter.Failed(failure);
    }

    // Stop signals wait for the main thread, which removes the temporary
    // files of the conversions under way before the process ends.
    const sigset_t signals = StopSignals();
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &signals, &previous);
    std::vector<std::thread> workers;
    const size_t threads = std::min<size_t>(options.jobs, state.jobs.size());
    for (size_t i = 0; i < threads; ++i) {
        try {
            workers.emplace_back(Work, std::ref(state), std::ref(reporter), std::cref(options));
        } catch (const std::system_error&) {
            break; // the threads that did start take every job
        }
    }
    if (threads > 0 && workers.empty()) {
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return Fail("", "cannot start a thread to convert with");
    }
    const timespec tick = {0, 50 * 1000 * 1000};
    while (state.finished < state.jobs.size()) {
        int signal = sigtimedwait(&signals, nullptr, &tick);
        if (signal > 0) {
            state.temporaries.Sweep();
            std::fprintf(stderr, "\nzqhdr: interrupted\n");
            DieBy(signal);
        }
        reporter.Tick();
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    reporter.Summary();
    return state.failed > 0 ? 1 : 0;
}
