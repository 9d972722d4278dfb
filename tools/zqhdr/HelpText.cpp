#include "Commands.h"

namespace {

const char* const kTool =
    "usage: zqhdr info [--json] [--stats] FILE...\n"
    "       zqhdr convert IN OUT [--exposure STOPS]\n"
    "       zqhdr batch INPUT... --to raw|exr|png --out DIR [--jobs N] [--exposure STOPS]\n"
    "       zqhdr help [COMMAND] | zqhdr COMMAND --help | zqhdr --version\n"
    "\n"
    "Looks into and converts Radiance RGBE (.hdr) images with the engine's HDR reader.\n"
    "Images are decoded in bands of rows, so memory stays bounded whatever their size.\n"
    "\n"
    "Exit status: 0 success; 1 a file was refused, could not be written, or memory ran out;\n"
    "2 usage errors.\n";

const char* const kInfo =
    "usage: zqhdr info [--json] [--stats] FILE...\n"
    "\n"
    "Shows each image's size, encoding (run-length or flat), orientation and the header's own\n"
    "NAME=value lines (EXPOSURE, PRIMARIES, SOFTWARE, VIEW...) in file order. The reader applies\n"
    "none of them.\n"
    "\n"
    "  --stats  also decode the pixels and show, per channel, the minimum, maximum and mean of\n"
    "           the 16-bit float values (infinities left out), the pixels with a channel that\n"
    "           overflowed to infinity (overflowed) and those whose three channels are zero\n"
    "           (black: exponent 0, or too dim for a 16-bit float)\n"
    "  --json   one JSON object per file and line: width, height, encoding, orientation,\n"
    "           header (an array of [name, value] pairs) and, with --stats, stats (min, max and\n"
    "           mean as arrays of three numbers, null where no value is finite; overflowed;\n"
    "           black)\n"
    "\n"
    "A file that cannot be read gets one line on stderr and the others go on; the exit status\n"
    "is then 1.\n";

const char* const kConvert =
    "usage: zqhdr convert IN OUT [--exposure STOPS]\n"
    "\n"
    "Decodes IN and writes OUT, by its extension:\n"
    "  .raw  the 16-bit float RGBA pixels exactly as the reader gives them, rows top to\n"
    "        bottom, 8 bytes a pixel, little-endian halves\n"
    "  .exr  half-float RGBA OpenEXR, its scanlines in the file's own order\n"
    "  .png  an 8-bit sRGB preview: each value times 2^STOPS (default 0), then x / (1 + x);\n"
    "        overflowed values are white. Written for speed, not size\n"
    "\n"
    "OUT is written under a temporary name and renamed when complete; a failure, or an\n"
    "interrupt, leaves none.\n"
    "Memory: about 32 MiB for .raw, 48 MiB for .exr and .png from top-to-bottom files, whatever\n"
    "the size; a PNG from a bottom-to-top file also holds its 8-bit preview.\n";

const char* const kBatch =
    "usage: zqhdr batch INPUT... --to raw|exr|png --out DIR [--jobs N] [--exposure STOPS]\n"
    "\n"
    "Converts many images, N at once (default: the number of cores). An INPUT is a file or a\n"
    "folder; for a folder, every .hdr below it (any letter case) is taken and its output keeps\n"
    "its path relative to that folder under DIR, with the new extension. A file's output goes\n"
    "straight into DIR.\n"
    "\n"
    "On a terminal, stderr shows one progress line: files done of total, megapixels per second\n"
    "and time left. Elsewhere each file gets one line. A file that fails gets one line,\n"
    "FILE: reason, and the others go on. A summary line ends the run.\n"
    "\n"
    "Exit status: 0 every file converted; 1 some failed; 2 usage errors. Interrupted, it\n"
    "leaves no temporary files behind.\n";

} // namespace

const char* HelpText(const std::string& command) {
    if (command.empty()) {
        return kTool;
    }
    if (command == "info") {
        return kInfo;
    }
    if (command == "convert") {
        return kConvert;
    }
    if (command == "batch") {
        return kBatch;
    }
    return nullptr;
}
