#pragma once

// What this processor and its system run of the instruction sets the
// decoders have vector paths for, found once with CPUID.
struct ProcessorFeatures {
    bool avx2;   // AVX2, FMA and F16C, with the system saving the 256-bit registers
    bool avx512; // and AVX-512 F and BW, with the system saving the 512-bit registers
};

const ProcessorFeatures& ThisProcessor();
