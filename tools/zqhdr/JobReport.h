#pragma once

#include "BatchJobs.h"
#include "Conversion.h"

// What a run of conversions tells as it goes: each command has its own way.
// Called from the converting threads, one call at a time or not, so each
// report keeps its own lock.
class JobReport {
public:
    virtual ~JobReport() = default;
    virtual void Converted(const BatchJob& job, unsigned long long pixels) = 0;
    virtual void Failed(const BatchJob& job, const ConversionFailure& failure) = 0;
    // Its output exists and is newer than its input: left as it is.
    virtual void Skipped(const BatchJob&) {}
    // As the job's pixels are decoded: its header read, then each band.
    virtual void Began(const BatchJob&, unsigned long long) {}
    virtual void Decoded(const BatchJob&, unsigned long long) {}
    // Now and then while the conversions run, on the thread that waits for them.
    virtual void Tick() {}
    // A stop signal came; the process ends right after.
    virtual void Interrupted() = 0;
};
