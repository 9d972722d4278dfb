#include "Commands.h"

namespace {

const char* const kTool =
    "usage: zqhdr info [--json] [--stats] FILE...\n"
    "       zqhdr convert IN OUT [--to KIND] [--exposure STOPS] [--max-size N] [--threads N]\n"
    "                     [--compression NAME] [--channels rgb|rgba]\n"
    "       zqhdr batch INPUT... --to raw|exr|png --out DIR [--jobs N] [--skip-existing]\n"
    "                   [--json] and convert's options\n"
    "       zqhdr help [COMMAND] | zqhdr COMMAND --help | zqhdr --version\n"
    "\n"
    "Looks into and converts Radiance RGBE (.hdr) images with the engine's HDR reader.\n"
    "Images are decoded in bands of rows, so memory stays bounded whatever their size.\n"
    "A FILE or IN of - is standard input; an OUT of - is standard output.\n"
    "\n"
    "Exit status: 0 success; 1 a file was refused, could not be written, or memory ran out;\n"
    "2 usage errors.\n";

const char* const kInfo =
    "usage: zqhdr info [--json] [--stats] FILE...\n"
    "\n"
    "Shows each image's size, encoding (run-length or flat), orientation, the resolution line\n"
    "as it stands, the header's own NAME=value lines (EXPOSURE, PRIMARIES, SOFTWARE, VIEW...)\n"
    "in file order and its comment lines. The reader applies none of them. A resolution line\n"
    "that names X first (+X 400 -Y 294) is read as height scanlines of width pixels, not\n"
    "transposed. Text is shown with control bytes and bytes that are not UTF-8 as \\xNN.\n"
    "\n"
    "  --stats  also decode the pixels and show, per channel, the minimum, maximum and mean of\n"
    "           the 16-bit float values (infinities left out), the pixels with a channel that\n"
    "           overflowed to infinity (overflowed) and those whose three channels are zero\n"
    "           (black: exponent 0, or too dim for a 16-bit float)\n"
    "  --json   one JSON object per file and line, in order: file, width, height, encoding,\n"
    "           orientation, resolution, header (an array of [name, value] pairs), comments\n"
    "           and, with --stats, stats (min, max and mean as arrays of three numbers, null\n"
    "           where no value is finite; overflowed; black). A file that fails gives\n"
    "           {\"file\": ..., \"error\": ...}\n"
    "\n"
    "A file that cannot be read gets one line on stderr and the others go on; the exit status\n"
    "is then 1.\n";

const char* const kConvert =
    "usage: zqhdr convert IN OUT [--to raw|exr|png] [--exposure STOPS] [--max-size N]\n"
    "                    [--threads N] [--compression NAME] [--channels rgb|rgba]\n"
    "\n"
    "Decodes IN and writes OUT, by its extension (for an OUT of -, standard output, by --to):\n"
    "  .raw  the 16-bit float RGBA pixels as the reader gives them, rows top to bottom,\n"
    "        8 bytes a pixel, little-endian halves\n"
    "  .exr  half-float OpenEXR, its scanlines in the file's own order, the source's header\n"
    "        lines carried as hdr:NAME attributes and software naming zqhdr\n"
    "  .png  an 8-bit sRGB preview: x / (1 + x); overflowed values are white. Written for\n"
    "        speed, not size\n"
    "\n"
    "  --exposure STOPS     scale every value written by 2^STOPS (default 0), in every kind\n"
    "  --max-size N         a smaller image: the longer side N, the shorter keeping the aspect\n"
    "                       (rounded, at least 1), each pixel the mean of those it covers;\n"
    "                       an image within N passes unchanged\n"
    "  --threads N          compress .png and .exr on N threads (default: the number of cores)\n"
    "  --compression NAME   .exr: none, rle, zips, zip (default), piz, pxr24, b44, b44a,\n"
    "                       dwaa or dwab\n"
    "  --channels rgb|rgba  .exr: leave out the constant alpha, or keep it (default)\n"
    "\n"
    "OUT is written under a temporary name and renamed when complete; a failure, or an\n"
    "interrupt, leaves none and an existing OUT as it was. Standard output cannot be whole or\n"
    "nothing: on a failure the status is 1 and part of the output may have been written.\n"
    "Memory: about 19 MiB for .raw, 22 MiB for .exr and 20 MiB for .png with one thread,\n"
    "whatever the size, a few MiB more a thread; a PNG from a bottom-to-top file also holds\n"
    "its 8-bit preview.\n";

const char* const kBatch =
    "usage: zqhdr batch INPUT... --to raw|exr|png --out DIR [--jobs N] [--skip-existing]\n"
    "                  [--json] [--exposure STOPS] [--max-size N] [--threads N]\n"
    "                  [--compression NAME] [--channels rgb|rgba]\n"
    "\n"
    "Converts many images, N at once (default: the number of cores). An INPUT is a file or a\n"
    "folder; for a folder, every .hdr below it (any letter case) is taken and its output keeps\n"
    "its path relative to that folder under DIR, with the new extension. A file's output goes\n"
    "straight into DIR. The other options are convert's; the files under way share the\n"
    "--threads threads, max(1, N / jobs) each.\n"
    "\n"
    "  --skip-existing  leave an output that exists and is newer than its input as it is\n"
    "  --json           also one JSON object per file on standard output, in the order they\n"
    "                   end (file, output, status: converted, failed or skipped; error;\n"
    "                   pixels), then {\"summary\": ...}\n"
    "\n"
    "On a terminal, stderr shows one progress line: files done of total, megapixels decoded\n"
    "per second and the time left at that rate. Elsewhere each file gets one line. A file that\n"
    "fails gets one line, FILE: reason, and the others go on. A summary line ends the run.\n"
    "\n"
    "Exit status: 0 every file converted or skipped; 1 some failed; 2 usage errors.\n"
    "Interrupted, it leaves no temporary files behind.\n";

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
