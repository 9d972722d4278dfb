#pragma once

#include "JobReport.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

// The batch's lines on stderr. On a terminal: one progress line (files done,
// megapixels per second, time left), redrawn; elsewhere one line per file.
// Failures always get a line of their own; a summary ends the run.
class ProgressReport : public JobReport {
public:
    // `files` counts every file the run reports, `bytesTotal` the inputs'
    // sizes, the measure of the time left.
    ProgressReport(size_t files, uintmax_t bytesTotal);

    // A file that failed before its conversion: "FILE: reason".
    void Failed(const std::string& line);
    void Converted(const BatchJob& job, unsigned long long pixels) override;
    void Failed(const BatchJob& job, const ConversionFailure& failure) override;
    void Tick() override;
    void Interrupted() override;
    void Summary();

    size_t FailedFiles() const { return m_failed; }

private:
    using Clock = std::chrono::steady_clock;

    void FailedLocked(const std::string& line, uintmax_t bytes);
    double Seconds() const;
    void Line(const std::string& text);
    void Progress();

    std::mutex m_lock; // one line at a time
    const size_t m_files;
    const uintmax_t m_bytesTotal;
    const bool m_terminal;
    size_t m_filesReported = 0; // converted or failed
    size_t m_converted = 0;
    size_t m_failed = 0;
    unsigned long long m_pixels = 0;
    uintmax_t m_bytesDone = 0;
    Clock::time_point m_start;
    Clock::time_point m_drawn;
};
