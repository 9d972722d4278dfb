#include "ProgressReport.h"

#include "EscapedText.h"
#include "ToolPlatform.h"

#include <cstdio>

ProgressReport::ProgressReport(size_t files, uintmax_t bytesTotal)
    : m_files(files), m_bytesTotal(bytesTotal), m_terminal(ToolPlatform::StandardErrorIsTerminal()),
      m_start(Clock::now()), m_drawn(m_start) {}

void ProgressReport::Failed(const std::string& line) {
    std::lock_guard<std::mutex> hold(m_lock);
    FailedLocked(line, 0);
}

void ProgressReport::Failed(const BatchJob& job, const ConversionFailure& failure) {
    std::lock_guard<std::mutex> hold(m_lock);
    FailedLocked(failure.file + ": " + failure.reason, job.bytes);
}

void ProgressReport::FailedLocked(const std::string& line, uintmax_t bytes) {
    ++m_filesReported;
    ++m_failed;
    m_bytesDone += bytes;
    Line("zqhdr: " + line);
}

void ProgressReport::Converted(const BatchJob& job, unsigned long long pixels) {
    std::lock_guard<std::mutex> hold(m_lock);
    ++m_filesReported;
    ++m_converted;
    m_pixels += pixels;
    m_bytesDone += job.bytes;
    if (!m_terminal) {
        Line("zqhdr: " + job.input + " -> " + job.output);
    } else {
        Progress();
    }
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

void ProgressReport::Summary() {
    std::lock_guard<std::mutex> hold(m_lock);
    std::string text = "zqhdr: " + std::to_string(m_converted) + " of " + std::to_string(m_files) +
                       " files converted";
    if (m_failed > 0) {
        text += ", " + std::to_string(m_failed) + " failed";
    }
    char figures[128];
    std::snprintf(figures, sizeof figures, "; %.1f megapixels in %.1f s", m_pixels / 1e6,
                  Seconds());
    Line(text + figures);
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

void ProgressReport::Progress() {
    m_drawn = Clock::now();
    double seconds = Seconds();
    double rate = seconds > 0 ? m_pixels / 1e6 / seconds : 0;
    std::string left = "--:--";
    if (m_bytesDone > 0 && m_bytesTotal > m_bytesDone) {
        double remaining = seconds * double(m_bytesTotal - m_bytesDone) / double(m_bytesDone);
        char text[32];
        unsigned whole = static_cast<unsigned>(remaining + 0.5);
        std::snprintf(text, sizeof text, "%u:%02u", whole / 60, whole % 60);
        left = text;
    } else if (m_filesReported == m_files) {
        left = "0:00";
    }
    std::fprintf(stderr, "\r\033[Kzqhdr: %zu of %zu files, %.1f MP/s, %s left", m_filesReported,
                 m_files, rate, left.c_str());
    std::fflush(stderr);
}
