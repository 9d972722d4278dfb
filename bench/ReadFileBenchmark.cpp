// ReadFile throughput on large generated images, run-length and flat, read
// from a file in the page cache into a reused, already-touched object.
#include "HdrImageWriter.h"
#include "ZqHDRReader.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <sys/resource.h>

namespace {

std::string ImagePath(unsigned width, unsigned height, bool runLength) {
    std::string path = "/tmp/zq-bench-" + std::to_string(width) + "x" + std::to_string(height) +
                       (runLength ? "-rle" : "-flat") + ".hdr";
    std::FILE* existing = std::fopen(path.c_str(), "rb");
    if (existing) {
        std::fclose(existing);
        return path;
    }
    WriteHdr(path, width, height, runLength,
             [&](unsigned x, unsigned y) { return RealisticPixel(x, y, width, height); });
    return path;
}

double PeakMiB() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void ReadFile(benchmark::State& state, bool runLength) {
    const unsigned width = static_cast<unsigned>(state.range(0));
    const unsigned height = static_cast<unsigned>(state.range(1));
    std::string path = ImagePath(width, height, runLength);
    ZqHDRReader reader;
    ZqPointer<ZqPixelData> reuse = new ZqPixelData(width, height, ZqPixelFormat::RGBA64);
    std::memset(reuse->GetPixels(0), 0, reuse->GetSizeInBytes(0));
    {
        ZqFile warm(path.c_str()); // into the page cache
        reader.ReadFile(warm, reuse);
    }
    for (auto _ : state) {
        ZqFile file(path.c_str());
        ZqPixelData* result = reader.ReadFile(file, reuse);
        if (result != reuse) {
            state.SkipWithError("the reader refused the image");
            break;
        }
        benchmark::DoNotOptimize(result->GetPixels(0));
    }
    state.counters["MP/s"] = benchmark::Counter(double(width) * height / 1e6 * state.iterations(),
                                                benchmark::Counter::kIsRate);
    state.counters["peak_MiB"] = PeakMiB();
}

} // namespace

BENCHMARK_CAPTURE(ReadFile, run_length, true)
    ->Args({8192, 4096})
    ->Args({2048, 1024})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadFile, flat, false)
    ->Args({8192, 4096})
    ->Args({2048, 1024})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
