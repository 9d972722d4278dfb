#include "RgbeConversion.h"

#include "ProcessorProbe.h"
#include "RgbeKernels.h"
#include "ZqPlatform.h"

#include <cmath>

void RgbePixelToFloat(const unsigned char* rgbe, float* out) {
    if (rgbe[3] == 0) {
        out[0] = out[1] = out[2] = 0.0f;
    } else {
        double scale = std::ldexp(1.0, rgbe[3] - 136);
        for (int channel = 0; channel < 3; ++channel) {
            out[channel] = static_cast<float>((rgbe[channel] + 0.5) * scale);
        }
    }
    out[3] = 1.0f;
}

void RgbePixelToHalf(const unsigned char* rgbe, unsigned char* out) {
    float channels[4];
    RgbePixelToFloat(rgbe, channels);
    for (int channel = 0; channel < 4; ++channel) {
        unsigned short half;
        ZqPlatform::Float32To16Array(&half, &channels[channel], 1);
        out[2 * channel] = static_cast<unsigned char>(half & 0xFF);
        out[2 * channel + 1] = static_cast<unsigned char>(half >> 8);
    }
}

bool CanRun(VectorPath path) {
#if defined(ZQ_HAVE_VECTOR_KERNELS)
    const ProcessorFeatures& processor = ThisProcessor();
    return path == VectorPath::Scalar || (path == VectorPath::Avx2 && processor.avx2) ||
           (path == VectorPath::Avx512 && processor.avx512);
#else
    return path == VectorPath::Scalar;
#endif
}

VectorPath BestVectorPath() {
    return CanRun(VectorPath::Avx512) ? VectorPath::Avx512
           : CanRun(VectorPath::Avx2) ? VectorPath::Avx2
                                      : VectorPath::Scalar;
}

void RgbeRowToHalf(VectorPath path, const unsigned char* rgbe, unsigned count, unsigned char* out,
                   int step) {
#if defined(ZQ_HAVE_VECTOR_KERNELS)
    if (path == VectorPath::Avx512) {
        Avx512Kernels::RowToHalf(rgbe, count, out, step);
        return;
    }
    if (path == VectorPath::Avx2) {
        Avx2Kernels::RowToHalf(rgbe, count, out, step);
        return;
    }
#endif
    ScalarKernels::RowToHalf(rgbe, count, out, step);
}
