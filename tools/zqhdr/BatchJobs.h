#pragma once

#include "ImageWriters.h"

#include <cstdint>
#include <string>
#include <vector>

// One file of a batch: where it comes from and where its output goes.
struct BatchJob {
    std::string input;
    std::string output;
    uintmax_t bytes = 0; // the input's size, as a measure of the work
};

// The jobs for `inputs` (files and folders) writing `kind` under `outputFolder`.
// A folder gives every .hdr below it, in any letter case, its output keeping
// the path relative to that folder; a file's output goes straight into the
// folder. An input that is neither, or an output that two inputs would
// share, becomes a failure: the file and the reason.
struct PlanFailure {
    std::string file;
    std::string reason;
};
void PlanBatch(const std::vector<std::string>& inputs, const std::string& outputFolder,
               OutputKind kind, std::vector<BatchJob>& jobs, std::vector<PlanFailure>& failures);
