#include "ProgressReport.h"

#include "EscapedText.h"
#include "JsonLine.h"
#include "ToolPlatform.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <new>

ProgressReport::ProgressReport(size_t files, uintmax_t bytesTotal, bool json)
    : m_files(files), m_terminal(ToolPlatform::StandardErrorIsTerminal()), m_json(json),
      m_start(Clock::now()), m_drawn(m_start) {
    m_figures.totalBytes = bytesTotal;
}

void ProgressReport::Failed(const std::string& file, const std::string& reason) {
    std::lock_guard<std::mutex> hold(m_lock);
    FailedLocked(file, "", reason);
}

void ProgressReport::Failed(const BatchJob& job, const ConversionFailure& failure) {
    std::lock_guard<std::mutex> hold(m_lock);
    auto under = m_under.find(&job);
    if (under != m_under.end()) {
        // What it will never decode is no longer to come.
        m_figures.knownPixels -= under->second.pixels - under->second.decoded;
        m_under.erase(under);
    } else {
        m_figures.totalBytes -= job.bytes;
    }
    // The line names the file the failure is about, the input or the output.
    FailedLocked(job.input, job.output,
                 failure.file == job.input ? failure.reason : failure.file + ": " + failure.reason);
}

void ProgressReport::FailedLocked(const std::string& file, const std::string& output,
                                  const std::string& reason) {
    ++m_filesReported;
    ++m_failed;
    Line("zqhdr: " + file + ": " + reason);
    JsonLine(file, output, "failed", reason, 0);
}

void ProgressReport::Converted(const BatchJob& job, unsigned long long pixels) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_under.erase(&job);
    ++m_filesReported;
    ++m_converted;
    m_pixels += pixels;
    try {
        JsonLine(job.input, job.output, "converted", "", pixels);
        if (!m_terminal) {
            Line("zqhdr: " + job.input + " -> " + job.output);
        } else {
            Progress();
        }
    } catch (const std::bad_alloc&) {
        // The file is converted: only its line could not be made.
        std::fputs("zqhdr: a file was converted; out of memory telling which\n", stderr);
    }
}

void ProgressReport::Skipped(const BatchJob& job) {
    std::lock_guard<std::mutex> hold(m_lock);
    ++m_filesReported;
    ++m_skipped;
    m_figures.totalBytes -= job.bytes;
    JsonLine(job.input, job.output, "skipped", "", 0);
    if (!m_terminal) {
        Line("zqhdr: " + job.output + " is up to date");
    }
}

void ProgressReport::Began(const BatchJob& job, unsigned long long pixels) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_under[&job].pixels = pixels;
    m_figures.knownPixels += pixels;
    m_figures.knownBytes += job.bytes;
}

void ProgressReport::Decoded(const BatchJob& job, unsigned long long pixels) {
    std::lock_guard<std::mutex> hold(m_lock);
    m_under[&job].decoded += pixels;
    m_figures.decoded += pixels;
}

// Redrawn now and then, so that the rate and time left move on a terminal.
void ProgressReport::Tick() {
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_terminal && Clock::now() - m_drawn > std::chrono::milliseconds(250)) {
        Progress();
    }
}

// Not under the lock: the process ends right after, whatever a converting
// thread is doing.
void ProgressReport::Interrupted() {
    std::fprintf(stderr, "\nzqhdr: interrupted\n");
}

// Made without allocating: the files are converted by now, and a summary
// that could not be told must not turn the run into a failure.
void ProgressReport::Summary() {
    std::lock_guard<std::mutex> hold(m_lock);
    const double seconds = Seconds();
    char text[256];
    int length =
        std::snprintf(text, sizeof text, "zqhdr: %zu of %zu files converted", m_converted, m_files);
    if (m_skipped > 0) {
        length += std::snprintf(text + length, sizeof text - length, ", %zu skipped as up to date",
                                m_skipped);
    }
    if (m_failed > 0) {
        length += std::snprintf(text + length, sizeof text - length, ", %zu failed", m_failed);
    }
    std::snprintf(text + length, sizeof text - length, "; %.1f megapixels in %.1f s",
                  m_pixels / 1e6, seconds);
    std::fprintf(stderr, "%s%s\n", m_terminal ? "\r\033[K" : "", text);
    if (m_json) {
        std::printf("{\"summary\":{\"files\":%zu,\"converted\":%zu,\"skipped\":%zu,"
                    "\"failed\":%zu,\"pixels\":%llu,\"seconds\":%.3f}}\n",
                    m_files, m_converted, m_skipped, m_failed, m_pixels, seconds);
    }
}

double ProgressReport::Seconds() const {
    return std::chrono::duration<double>(Clock::now() - m_start).count();
}

void ProgressReport::Line(const std::string& text) {
    // File names may hold bytes a terminal would act on.
    std::fprintf(stderr, "%s%s\n", m_terminal ? "\r\033[K" : "", EscapedText(text).c_str());
    if (m_terminal && m_filesReported < m_files) {
        Progress();
    }
}

void ProgressReport::JsonLine(const std::string& file, const std::string& output,
                              const char* status, const std::string& error,
                              unsigned long long pixels) {
    if (!m_json) {
        return;
    }
    nlohmann::ordered_json line = {{"file", file}};
    if (!output.empty()) {
        line["output"] = output;
    }
    line["status"] = status;
    if (!error.empty()) {
        line["error"] = error;
    }
    if (pixels > 0) {
        line["pixels"] = pixels;
    }
    PrintJsonLine(line);
}

void ProgressReport::Progress() {
    m_drawn = Clock::now();
    m_figures.seconds = Seconds();
    const double rate = m_figures.seconds > 0 ? m_figures.decoded / 1e6 / m_figures.seconds : 0;
    const double remaining = m_filesReported == m_files ? 0 : SecondsLeft(m_figures);
    std::string left = "--:--";
    if (remaining >= 0) {
        char text[32];
        unsigned whole = static_cast<unsigned>(remaining + 0.5);
        std::snprintf(text, sizeof text, "%u:%02u", whole / 60, whole % 60);
        left = text;
    }
    std::fprintf(stderr, "\r\033[Kzqhdr: %zu of %zu files, %.1f MP/s, %s left", m_filesReported,
                 m_files, rate, left.c_str());
    std::fflush(stderr);
}
