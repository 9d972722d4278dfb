// libFuzzer target: any bytes as a Radiance file, through ReadHeader and
// ReadFile (into a new object and into a reused one) on a memory stream.
#include "ZqHDRReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ZqMemoryFile file(data, size);
    ZqHDRReader reader;
    unsigned width = 0, height = 0, faces = 0;
    ZqPixelFormat format;
    bool mipmaps = false;
    if (!reader.ReadHeader(file, width, height, format, mipmaps, faces)) {
        // A refused header must refuse the file too; libFuzzer ignores return
        // values, so a breach has to stop the run.
        std::unique_ptr<ZqPixelData> none(reader.ReadFile(file, nullptr));
        if (none) {
            std::abort();
        }
        return 0;
    }
    // Keep the fuzzer's memory bounded; sizes themselves are checked by tests.
    if (std::uint64_t(width) * height > (std::uint64_t(1) << 20)) {
        return 0;
    }
    std::unique_ptr<ZqPixelData> made(reader.ReadFile(file, nullptr));
    ZqPointer<ZqPixelData> reuse = new ZqPixelData(width, height, ZqPixelFormat::RGBA64);
    ZqPixelData* filled = reader.ReadFile(file, reuse);
    if (filled && filled != reuse) {
        delete filled;
    }
    return 0;
}
