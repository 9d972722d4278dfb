// Every decoding path against the plain rule (byte by byte into a scanline,
// then pixel by pixel), on random and malformed packet streams: the same
// pixels, the same answer and the same bytes taken from the stream.
#include "RunLengthRows.h"
#include "HdrTestImages.h"
#include "ReadAhead.h"
#include "RgbeConversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

struct Layout {
    const char* name;
    int rowSign, columnSign; // +1: top to bottom / left to right
    unsigned bytesPerPixel;
};

const Layout kLayouts[] = {
    {"forward", 1, 1, 8},
    {"both reversed", -1, -1, 8},
    {"columns reversed", 1, -1, 8},
    {"16 bytes a pixel", 1, 1, 16}, // not the vector layout
};

struct Outcome {
    bool decoded = false;
    size_t taken = 0;  // bytes taken from the stream after the first four
    Bytes destination; // the whole destination buffer
};

// Where pixel j of scanline i goes, as an offset into the destination.
size_t Place(const Layout& layout, unsigned rows, unsigned columns, unsigned i, unsigned j) {
    unsigned row = layout.rowSign > 0 ? i : rows - 1 - i;
    unsigned column = layout.columnSign > 0 ? j : columns - 1 - j;
    return (size_t(row) * columns + column) * layout.bytesPerPixel;
}

const unsigned char kUntouched = 0xA5;

// The plain rule. A packet passing its plane's end is refused at its count
// byte, as a count of 0 is; a stream that ends inside the data is refused
// with every byte taken.
Outcome Plain(const Bytes& data, const Layout& layout, unsigned rows, unsigned columns) {
    Outcome outcome;
    outcome.destination.assign(size_t(rows) * columns * layout.bytesPerPixel, kUntouched);
    size_t at = 4;
    Bytes scanline(size_t(columns) * 4);
    auto refuse = [&](size_t taken) {
        outcome.taken = taken - 4;
        return outcome;
    };
    for (unsigned i = 0; i < rows; ++i) {
        size_t opening = i == 0 ? 0 : at;
        if (i > 0) {
            if (data.size() - at < 4) {
                return refuse(at);
            }
            at += 4;
        }
        if (data[opening] != 2 || data[opening + 1] != 2 || (data[opening + 2] & 0x80) != 0 ||
            (unsigned(data[opening + 2]) << 8 | data[opening + 3]) != columns) {
            return refuse(at);
        }
        for (unsigned k = 0; k < 4; ++k) {
            unsigned covered = 0;
            while (covered < columns) {
                if (at == data.size()) {
                    return refuse(at);
                }
                unsigned count = data[at++];
                unsigned pixels = count > 128 ? count - 128 : count;
                if (pixels == 0 || pixels > columns - covered) {
                    return refuse(at);
                }
                for (unsigned n = 0; n < pixels; ++n) {
                    if (at == data.size()) {
                        return refuse(at);
                    }
                    scanline[4 * size_t(covered + n) + k] = data[count > 128 ? at : at++];
                }
                if (count > 128) {
                    ++at;
                }
                covered += pixels;
            }
        }
        for (unsigned j = 0; j < columns; ++j) {
            RgbePixelToHalf(&scanline[4 * size_t(j)],
                            &outcome.destination[Place(layout, rows, columns, i, j)]);
        }
    }
    outcome.decoded = true;
    outcome.taken = at - 4;
    return outcome;
}

Outcome ThroughPath(VectorPath path, const Bytes& data, const Layout& layout, unsigned rows,
                    unsigned columns, size_t readAhead) {
    Outcome outcome;
    outcome.destination.assign(size_t(rows) * columns * layout.bytesPerPixel, kUntouched);
    const int rowStep = layout.rowSign * int(columns * layout.bytesPerPixel);
    const int columnStep = layout.columnSign * int(layout.bytesPerPixel);
    unsigned char* start = outcome.destination.data() + Place(layout, rows, columns, 0, 0);
    Bytes rest(data.begin() + 4, data.end());
    ZqMemoryFile stream(rest.data(), rest.size());
    {
        ReadAhead source(stream, readAhead, rest.size());
        outcome.decoded = DecodeRunLengthRows(path, source, data.data(), start, rowStep, columnStep,
                                              rows, columns, layout.bytesPerPixel);
    }
    outcome.taken = rest.size() - Rest(stream).size();
    return outcome;
}

// Packets of one plane of `columns` pixels, lengths drawn by `length`.
template <class Length>
void AppendPlane(Bytes& data, unsigned columns, std::mt19937& random, Length length) {
    std::uniform_int_distribution<unsigned> byte(0, 255), coin(0, 1);
    unsigned covered = 0;
    while (covered < columns) {
        unsigned pixels = std::min(length(random), columns - covered);
        if (coin(random) && pixels <= 127) {
            Append(data, {static_cast<unsigned char>(128 + pixels),
                          static_cast<unsigned char>(byte(random))});
        } else {
            pixels = std::min(pixels, 128u);
            data.push_back(static_cast<unsigned char>(pixels));
            for (unsigned n = 0; n < pixels; ++n) {
                data.push_back(static_cast<unsigned char>(byte(random)));
            }
        }
        covered += pixels;
    }
}

Bytes RandomImage(unsigned rows, unsigned columns, std::mt19937& random, unsigned longest) {
    std::uniform_int_distribution<unsigned> shortOrLong(0, 3), anyLength(1, longest),
        shortLength(1, 4);
    Bytes data;
    for (unsigned i = 0; i < rows; ++i) {
        Append(data, {2, 2, static_cast<unsigned char>(columns >> 8),
                      static_cast<unsigned char>(columns & 0xFF)});
        for (unsigned k = 0; k < 4; ++k) {
            // Planes of short packets, of any length, and of both mixed.
            unsigned kind = shortOrLong(random);
            AppendPlane(data, columns, random, [&](std::mt19937& r) {
                return kind == 0 || (kind == 2 && shortOrLong(r) != 0) ? shortLength(r)
                                                                       : anyLength(r);
            });
        }
    }
    return data;
}

void ExpectEveryPathMatchesThePlainRule(const Bytes& data, unsigned rows, unsigned columns,
                                        const std::string& what) {
    for (const Layout& layout : kLayouts) {
        const Outcome expected = Plain(data, layout, rows, columns);
        for (VectorPath path : {VectorPath::Scalar, VectorPath::Avx2, VectorPath::Avx512}) {
            if (!CanRun(path)) {
                continue;
            }
            for (size_t readAhead : {size_t(129), size_t(200), size_t(600), size_t(256 * 1024)}) {
                Outcome got = ThroughPath(path, data, layout, rows, columns, readAhead);
                std::string where = what + ", " + layout.name + ", path " +
                                    std::to_string(int(path)) + ", read-ahead " +
                                    std::to_string(readAhead);
                ASSERT_EQ(got.decoded, expected.decoded) << where;
                ASSERT_EQ(got.taken, expected.taken) << where;
                ASSERT_TRUE(got.destination == expected.destination) << where;
            }
        }
    }
}

} // namespace

TEST(RunLengthRows, RandomPacketStreamsDecodeAsThePlainRuleOnEveryPath) {
    std::mt19937 random(2024);
    const unsigned widths[] = {1, 2, 15, 16, 17, 100, 127, 128, 129, 513, 1000, 2048, 4099};
    for (unsigned columns : widths) {
        for (unsigned longest : {4u, 40u, 128u}) {
            unsigned rows = columns > 1000 ? 2 : 5;
            Bytes data = RandomImage(rows, columns, random, longest);
            ExpectEveryPathMatchesThePlainRule(data, rows, columns,
                                               std::to_string(columns) + " wide, packets up to " +
                                                   std::to_string(longest));
        }
    }
}

TEST(RunLengthRows, MalformedStreamsAreRefusedAtTheSameByteOnEveryPath) {
    std::mt19937 random(77);
    for (unsigned columns : {20u, 700u, 3000u}) {
        const unsigned rows = 3;
        const Bytes good = RandomImage(rows, columns, random, 60);
        std::uniform_int_distribution<size_t> anywhere(5, good.size() - 1);
        for (int trial = 0; trial < 12; ++trial) {
            size_t at = anywhere(random);
            // A count byte of 0, or any other byte, wherever it lands.
            Bytes zero = good, changed = good;
            zero[at] = 0;
            changed[at] = static_cast<unsigned char>(changed[at] ^ (1u << (trial % 8)));
            ExpectEveryPathMatchesThePlainRule(zero, rows, columns, "0 at " + std::to_string(at));
            ExpectEveryPathMatchesThePlainRule(changed, rows, columns,
                                               "changed at " + std::to_string(at));
            // The stream cut short.
            Bytes cut(good.begin(), good.begin() + static_cast<long>(at));
            ExpectEveryPathMatchesThePlainRule(cut, rows, columns, "cut at " + std::to_string(at));
        }
    }
}

TEST(RunLengthRows, PacketsAtTheirLimitsAndAtThePlanesEnd) {
    // 300 pixels: two literals of 128, then a run of 44; a run of 127, 127,
    // 46; a literal passing the end; a run passing the end.
    auto literal = [](Bytes& data, unsigned n) {
        data.push_back(static_cast<unsigned char>(n));
        for (unsigned i = 0; i < n; ++i) {
            data.push_back(static_cast<unsigned char>(i * 7));
        }
    };
    auto run = [](Bytes& data, unsigned n) {
        Append(data, {static_cast<unsigned char>(128 + n), 9});
    };
    Bytes opening = {2, 2, 1, 44};
    Bytes limits = opening;
    literal(limits, 128), literal(limits, 128), run(limits, 44);
    run(limits, 127), run(limits, 127), run(limits, 46);
    literal(limits, 128), literal(limits, 128), literal(limits, 44);
    for (int n = 0; n < 300; ++n) {
        run(limits, 1); // count 129: a run of one
    }
    ExpectEveryPathMatchesThePlainRule(limits, 1, 300, "limits");

    Bytes literalPast = opening;
    literal(literalPast, 128), literal(literalPast, 128), literal(literalPast, 45);
    literalPast.resize(literalPast.size() + 400, 1);
    ExpectEveryPathMatchesThePlainRule(literalPast, 1, 300, "literal past the end");

    Bytes runPast = opening;
    literal(runPast, 128), literal(runPast, 128), run(runPast, 45);
    runPast.resize(runPast.size() + 400, 1);
    ExpectEveryPathMatchesThePlainRule(runPast, 1, 300, "run past the end");
}
