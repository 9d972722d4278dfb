#pragma once

#include "JobReport.h"
#include "ProgressEstimate.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

// The batch's lines on stderr. On a terminal: one progress line (files done,
// megapixels decoded per second, time left), redrawn; elsewhere one line per
// file. Failures always get a line of their own; a summary ends the run.
// With `json`, standard output also gets one JSON object per file, in the
// order they end, and a summary object.
class ProgressReport : public JobReport {
public:
    // `files` counts every file the run reports, `bytesTotal` the inputs'
    // sizes, the first measure of the time left.
    ProgressReport(size_t files, uintmax_t bytesTotal, bool json);

    // A file that failed before its conversion.
    void Failed(const std::string& file, const std::string& reason);
    void Converted(const BatchJob& job, unsigned long long pixels) override;
    void Failed(const BatchJob& job, const ConversionFailure& failure) override;
    void Skipped(const BatchJob& job) override;
    void Began(const BatchJob& job, unsigned long long pixels) override;
    void Decoded(const BatchJob& job, unsigned long long pixels) override;
    void Tick() override;
    void Interrupted() override;
    void Summary();

    size_t FailedFiles() const { return m_failed; }

private:
    using Clock = std::chrono::steady_clock;
    struct Under {
        unsigned long long pixels = 0;
        unsigned long long decoded = 0;
    };

    void FailedLocked(const std::string& file, const std::string& output,
                      const std::string& reason);
    double Seconds() const;
    void Line(const std::string& text);
    void JsonLine(const std::string& file, const std::string& output, const char* status,
                  const std::string& error, unsigned long long pixels);
    void Progress();

    std::mutex m_lock; // one line at a time
    const size_t m_files;
    const bool m_terminal;
    const bool m_json;
    size_t m_filesReported = 0; // converted, failed or skipped
    size_t m_converted = 0;
    size_t m_failed = 0;
    size_t m_skipped = 0;
    unsigned long long m_pixels = 0; // of the files converted
    ProgressFigures m_figures;
    std::map<const BatchJob*, Under> m_under; // the files begun and not yet ended
    Clock::time_point m_start;
    Clock::time_point m_drawn;
};
