// Writes the benchmark images when asked, or reads one image into a new
// object and reports how much the process grew while doing it.
//
//   readfile_memory make-images DIR     links to the 8192 x 4096 panorama, run-length
//                                       and flat (the benchmark's cached images)
//   readfile_memory FILE
#include "BenchImages.h"
#include "ZqHDRReader.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>

namespace {
double ResidentMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0;
}
double PeakMiB() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "make-images") == 0) {
        const unsigned width = 8192, height = 4096;
        for (bool runLength : {true, false}) {
            std::string path =
                std::string(argv[2]) + (runLength ? "/big-rle.hdr" : "/big-flat.hdr");
            std::string cached = BenchImagePath(BenchContent::Panorama, width, height, runLength);
            std::error_code error;
            std::filesystem::create_symlink(cached, path, error);
            if (cached.empty() || error) {
                std::fprintf(stderr, "cannot make %s\n", path.c_str());
                return 1;
            }
        }
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: readfile_memory FILE | make-images DIR\n");
        return 2;
    }
    double before = ResidentMiB();
    ZqFile file(argv[1]);
    ZqHDRReader reader;
    std::unique_ptr<ZqPixelData> image(reader.ReadFile(file, nullptr));
    if (!image) {
        std::fprintf(stderr, "%s: refused\n", argv[1]);
        return 1;
    }
    double output = image->GetTotalSizeInBytes() / 1048576.0;
    double grew = PeakMiB() - before;
    std::printf("%s: output %.1f MiB, peak growth %.1f MiB, beyond the output %.2f MiB\n", argv[1],
                output, grew, grew - output);
    return 0;
}
