// Building the texture report for many textures: the time should grow
// linearly with the count.
#include "TextureReport.h"
#include "ZqDescribedPixelData.h"
#include "ZqRenderedTexture.h"
#include "ZqSourceTexture.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BuildReport(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<ZqPointer<ZqTexture>> textures;
    ZqPointer<ZqPixelData> pixels = new ZqDescribedPixelData(
        ZqPixelFormat(ZqPixelFormat::RGBA, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000), 5, 349524);
    for (int i = 0; i < count; ++i) {
        std::string name =
            "textures/level" + std::to_string(i % 50) + "/diffuse_" + std::to_string(i) + ".dds";
        switch (i % 4) {
        case 0:
            textures.push_back(new ZqSourceTexture(name.c_str(), pixels, 256, 256));
            break;
        case 1:
            textures.push_back(new ZqSourceTexture(name.c_str(), nullptr, 512, 512));
            break;
        case 2:
            textures.push_back(new ZqSourceTexture(nullptr, pixels, 128, 128));
            break;
        default:
            textures.push_back(new ZqRenderedTexture(1024, 1024));
        }
    }
    ZqString report(256);
    for (auto _ : state) {
        benchmark::DoNotOptimize(BuildTextureReport(report));
    }
    state.counters["textures/s"] =
        benchmark::Counter(double(count) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["report_MiB"] = report.Length() / 1048576.0;
}

} // namespace

BENCHMARK(BuildReport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
