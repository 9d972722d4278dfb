#include "BenchImages.h"

#include "PanoramaImage.h"
#include "stb_image_write.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Receives the bytes of an image file as they are written.
typedef std::function<void(const void*, size_t)> Sink;
// Fills row `index` of the image being written: width x 3 floats.
typedef std::function<void(unsigned index, float* rgb)> RowSource;

// stb_image_write's conversion, for the forms that it does not write.
void ToRgbe(const float* linear, unsigned char* out) {
    float largest = std::fmax(linear[0], std::fmax(linear[1], linear[2]));
    if (largest < 1e-32f) {
        out[0] = out[1] = out[2] = out[3] = 0;
        return;
    }
    int exponent;
    float scale = std::frexp(largest, &exponent) * 256.0f / largest;
    for (int k = 0; k < 3; ++k) {
        out[k] = static_cast<unsigned char>(linear[k] * scale);
    }
    out[3] = static_cast<unsigned char>(exponent + 128);
}

// The simple encoder of the easy pattern: runs of four or more become run
// packets, the rest literals.
void EncodePlane(const unsigned char* values, unsigned count, std::vector<unsigned char>& out) {
    unsigned i = 0;
    while (i < count) {
        unsigned run = 1;
        while (i + run < count && run < 127 && values[i + run] == values[i]) {
            ++run;
        }
        if (run >= 4) {
            out.push_back(static_cast<unsigned char>(128 + run));
            out.push_back(values[i]);
            i += run;
            continue;
        }
        unsigned start = i;
        unsigned length = 0;
        while (i < count && length < 128) {
            unsigned ahead = 1;
            while (i + ahead < count && ahead < 4 && values[i + ahead] == values[i]) {
                ++ahead;
            }
            if (ahead >= 4) {
                break;
            }
            ++i;
            ++length;
        }
        out.push_back(static_cast<unsigned char>(length));
        out.insert(out.end(), values + start, values + start + length);
    }
}

// Smooth gradients, a noisy band, a flat wall, a bright light and sparkles.
void EasyPatternRow(unsigned y, unsigned width, unsigned height, float* rgb) {
    for (unsigned x = 0; x < width; ++x) {
        float u = float(x) / float(width), v = float(y) / float(height);
        float r = 0.2f + 0.8f * u, g = 0.1f + 0.6f * v, b = 0.5f * (1.0f - u) + 0.3f * v;
        unsigned hash = (x * 73856093u) ^ (y * 19349663u);
        hash ^= hash >> 13;
        hash *= 0x5bd1e995u;
        hash ^= hash >> 15;
        if (v > 0.3f && v < 0.6f) {
            float n = float(hash & 0xFFFF) / 65535.0f;
            r *= 0.5f + n;
            g *= 0.5f + n * 0.5f;
        }
        if (u > 0.7f && v > 0.7f) {
            r = 0.25f, g = 0.25f, b = 0.3f;
        }
        float dx = u - 0.25f, dy = v - 0.2f;
        if (dx * dx + dy * dy < 0.002f) {
            r = 800.0f, g = 700.0f, b = 500.0f;
        }
        if ((hash & 0x3FF) == 0) {
            r += 50.0f;
        }
        rgb[3 * size_t(x)] = r, rgb[3 * size_t(x) + 1] = g, rgb[3 * size_t(x) + 2] = b;
    }
}

void WriteHeader(unsigned width, unsigned rows, const Sink& sink) {
    char header[128];
    int length = std::snprintf(header, sizeof header,
                               "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y %u +X %u\n", rows, width);
    sink(header, size_t(length));
}

// `rows` rows from `source` in the form that `content` is written in.
void Write(BenchContent content, bool runLength, unsigned width, unsigned rows,
           const RowSource& source, const Sink& sink) {
    std::vector<float> rgb;
    if (content == BenchContent::Panorama && runLength) {
        rgb.resize(size_t(width) * rows * 3);
        for (unsigned i = 0; i < rows; ++i) {
            source(i, &rgb[size_t(width) * 3 * i]);
        }
        stbi_write_hdr_to_func(
            [](void* context, void* data, int size) {
                (*static_cast<const Sink*>(context))(data, size_t(size));
            },
            const_cast<Sink*>(&sink), int(width), int(rows), 3, rgb.data());
        return;
    }
    WriteHeader(width, rows, sink);
    rgb.resize(size_t(width) * 3);
    std::vector<unsigned char> rgbe(size_t(width) * 4), plane(width), encoded;
    for (unsigned i = 0; i < rows; ++i) {
        source(i, rgb.data());
        for (unsigned x = 0; x < width; ++x) {
            ToRgbe(&rgb[3 * size_t(x)], &rgbe[4 * size_t(x)]);
        }
        if (!runLength) {
            sink(rgbe.data(), rgbe.size());
            continue;
        }
        encoded.assign({2, 2, static_cast<unsigned char>(width >> 8),
                        static_cast<unsigned char>(width & 0xFF)});
        for (unsigned k = 0; k < 4; ++k) {
            for (unsigned x = 0; x < width; ++x) {
                plane[x] = rgbe[4 * size_t(x) + k];
            }
            EncodePlane(plane.data(), width, encoded);
        }
        sink(encoded.data(), encoded.size());
    }
}

void ContentRow(BenchContent content, unsigned y, unsigned width, unsigned height, float* rgb) {
    if (content == BenchContent::Panorama) {
        panorama::Row(y, width, height, rgb);
    } else {
        EasyPatternRow(y, width, height, rgb);
    }
}

// A hash of what the current code writes for eight rows spread over the
// image: any change to the generator or the writer changes it.
uint64_t Fingerprint(BenchContent content, unsigned width, unsigned height, bool runLength) {
    uint64_t hash = 1469598103934665603ull;
    Write(
        content, runLength, width, 8,
        [&](unsigned i, float* rgb) { ContentRow(content, i * height / 8, width, height, rgb); },
        [&](const void* data, size_t size) {
            for (size_t n = 0; n < size; ++n) {
                hash = (hash ^ static_cast<const unsigned char*>(data)[n]) * 1099511628211ull;
            }
        });
    return hash;
}

} // namespace

const char* BenchContentName(BenchContent content) {
    return content == BenchContent::Panorama ? "panorama" : "easy_pattern";
}

bool WriteBenchImage(BenchContent content, unsigned width, unsigned height, bool runLength,
                     const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    bool written = true;
    Write(
        content, runLength, width, height,
        [&](unsigned y, float* rgb) { ContentRow(content, y, width, height, rgb); },
        [&](const void* data, size_t size) {
            written = written && std::fwrite(data, 1, size, file) == size;
        });
    return std::fclose(file) == 0 && written;
}

namespace {

// Leaves the file on disk only, so that the next read brings it in as a
// file read from disk is: the page cache holds it in large folios then,
// which read about four times as fast as the small ones that writing it left.
void DropFromPageCache(const std::string& path) {
    int file = open(path.c_str(), O_RDONLY);
    if (file >= 0) {
        fdatasync(file);
        posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED);
        close(file);
    }
}

} // namespace

std::string BenchImagePath(BenchContent content, unsigned width, unsigned height, bool runLength) {
    char name[160];
    std::snprintf(name, sizeof name, "/tmp/zq-bench-%s-%ux%u-%s-%016" PRIx64 ".hdr",
                  BenchContentName(content), width, height, runLength ? "rle" : "flat",
                  Fingerprint(content, width, height, runLength));
    std::string path = name;
    if (access(path.c_str(), R_OK) == 0) {
        DropFromPageCache(path);
        return path;
    }
    // Written by a child process, so that the generator's full-image buffer
    // does not count in this process's peak memory, then renamed into place
    // so that a concurrent benchmark never reads a half-written image.
    std::string partial = path + "." + std::to_string(getpid());
    pid_t child = fork();
    if (child == 0) {
        _exit(WriteBenchImage(content, width, height, runLength, partial) ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0 || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        return std::string();
    }
    DropFromPageCache(path);
    return path;
}
