// zqhdr batch INPUT... --to raw|exr|png --out DIR [--jobs N] [--exposure STOPS]
#include "Commands.h"

int RunBatch(const std::vector<std::string>&) {
    return Usage("batch", "batch is not built yet");
}
