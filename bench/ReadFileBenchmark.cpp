// ReadFile throughput, read from a file in the page cache into a reused,
// already-touched object, with the statistics of what was read beside it.
//
//   readfile_benchmark [benchmark flags] [FILE.hdr ...]
//
// Without files: the generated panorama (run-length and flat, large and
// small) and the easy pattern, and for the large panorama the reading of its
// bytes alone. With files: those files. Both ways, a memcpy of the large
// output's size in the same run, as the machine's reference.
// Rates are per second of this process's CPU time (MP/s), which other
// programs sharing the machine disturb less, and per second of wall time.
#include "BenchImages.h"
#include "HdrStatistics.h"
#include "ZqHDRReader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

double PeakMiB() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void ReadFile(benchmark::State& state, const std::string& path, const HdrStatistics& stats) {
    ZqHDRReader reader;
    ZqPointer<ZqPixelData> reuse =
        new ZqPixelData(stats.width, stats.height, ZqPixelFormat::RGBA64);
    std::memset(reuse->GetPixels(0), 0, reuse->GetSizeInBytes(0));
    {
        ZqFile warm(path.c_str()); // into the page cache
        reader.ReadFile(warm, reuse);
    }
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        ZqFile file(path.c_str());
        ZqPixelData* result = reader.ReadFile(file, reuse);
        if (result != reuse) {
            state.SkipWithError("the reader refused the image");
            break;
        }
        benchmark::DoNotOptimize(result->GetPixels(0));
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const double megapixels = double(stats.width) * stats.height / 1e6 * state.iterations();
    state.counters["MP/s"] = benchmark::Counter(megapixels, benchmark::Counter::kIsRate);
    state.counters["MP/s_wall"] = megapixels / wall.count();
    state.counters["B/packet"] = stats.BytesPerPacket();
    state.counters["runs"] = stats.RunShare();
    state.counters["of_flat"] = stats.SizeOfFlat();
    state.counters["peak_MiB"] = PeakMiB();
}

// A copy of as many bytes as the large image's output, between two buffers
// that stay touched: what the memory system gives in this run. MP/s counts
// 8-byte output pixels, to set beside the readers' figures.
void Memcpy(benchmark::State& state) {
    const size_t bytes = size_t(state.range(0));
    std::vector<unsigned char> from(bytes, 1), to(bytes, 2);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const double gigabytes = double(bytes) / 1e9 * state.iterations();
    state.counters["GB/s"] = benchmark::Counter(gigabytes, benchmark::Counter::kIsRate);
    state.counters["MP/s"] = benchmark::Counter(gigabytes * 1e3 / 8, benchmark::Counter::kIsRate);
    state.counters["MP/s_wall"] = gigabytes * 1e3 / 8 / wall.count();
}

// Only the file's bytes, read as the reader reads them (BinaryRead into a
// 256 KiB buffer): the part of ReadFile's time that the page cache takes.
void ReadBytes(benchmark::State& state, const std::string& path, const HdrStatistics& stats) {
    std::vector<unsigned char> buffer(256 * 1024);
    const unsigned byteSize = 1;
    for (auto _ : state) {
        ZqFile file(path.c_str());
        while (file.BinaryRead(buffer.data(), unsigned(buffer.size()), &byteSize, 1) > 0) {
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["MP/s"] = benchmark::Counter(
        double(stats.width) * stats.height / 1e6 * state.iterations(), benchmark::Counter::kIsRate);
}

bool AddFile(const std::string& name, const std::string& path, bool withReadBytes = false) {
    HdrStatistics stats;
    if (path.empty() || !MeasureHdr(path, stats)) {
        std::fprintf(stderr, "readfile_benchmark: cannot use %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %s, %ux%u, %s", name.c_str(), path.c_str(), stats.width, stats.height,
                stats.runLength ? "run-length" : "flat");
    if (stats.runLength) {
        std::printf(", %.0f packets, %.1f decoded bytes a packet, runs %.0f%% of bytes, "
                    "%.2f of flat size",
                    stats.packets, stats.BytesPerPacket(), 100 * stats.RunShare(),
                    stats.SizeOfFlat());
    }
    std::printf("\n");
    benchmark::RegisterBenchmark(name.c_str(), ReadFile, path, stats)
        ->Unit(benchmark::kMillisecond);
    if (withReadBytes) {
        benchmark::RegisterBenchmark(("read_bytes_only/" + name).c_str(), ReadBytes, path, stats)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bool ok = true;
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            std::string path = argv[i];
            std::string name = path.substr(path.find_last_of('/') + 1);
            ok = AddFile(name, path) && ok;
        }
    } else {
        struct Case {
            BenchContent content;
            unsigned width, height;
            bool runLength;
        };
        const Case cases[] = {
            {BenchContent::Panorama, 8192, 4096, true},
            {BenchContent::Panorama, 8192, 4096, false},
            {BenchContent::EasyPattern, 8192, 4096, true},
            {BenchContent::Panorama, 2048, 1024, true},
            {BenchContent::Panorama, 2048, 1024, false},
        };
        for (const Case& c : cases) {
            std::string name = std::string(BenchContentName(c.content)) +
                               (c.runLength ? "_run_length/" : "_flat/") + std::to_string(c.width) +
                               "x" + std::to_string(c.height);
            ok = AddFile(name, BenchImagePath(c.content, c.width, c.height, c.runLength),
                         c.content == BenchContent::Panorama && c.width == 8192) &&
                 ok;
        }
    }
    if (!ok) {
        return 1;
    }
    benchmark::RegisterBenchmark("memcpy_output_8192x4096", Memcpy)
        ->Arg(8192 * 4096 * 8)
        ->Unit(benchmark::kMillisecond);
    std::fflush(stdout);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
