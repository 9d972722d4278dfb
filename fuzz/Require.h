#pragma once

#include <cstdlib>

// What must hold of what a fuzzer read. libFuzzer ignores return values, so
// a breach has to stop the run.
inline void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}
