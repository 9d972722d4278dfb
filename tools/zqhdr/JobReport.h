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
    // Now and then while the conversions run, on the thread that waits for them.
    virtual void Tick() {}
    // A stop signal came; the process ends right after.
    virtual void Interrupted() = 0;
};
