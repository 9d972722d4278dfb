#include "HdrProbe.h"

bool HdrProbe::Describe(ZqFile& file, HdrDescription& description) {
    bool rowOrder = true;
    if (!ReadHeaderInternal(file, description.width, description.height,
                            description.columnsLeftToRight, description.rowsTopToBottom,
                            rowOrder)) {
        return false;
    }
    // The reader's own test: 2, 2 and a byte below 128 open run-length data.
    unsigned char first[4] = {0, 0, 0, 0};
    description.runLength =
        file.Read(first, 4) == 4 && first[0] == 2 && first[1] == 2 && first[2] < 128;
    return true;
}

std::string OrientationText(const HdrDescription& d) {
    return std::string(d.rowsTopToBottom ? "-Y" : "+Y") + " " +
           (d.columnsLeftToRight ? "+X" : "-X") + " (rows " +
           (d.rowsTopToBottom ? "top to bottom" : "bottom to top") + ", columns " +
           (d.columnsLeftToRight ? "left to right" : "right to left") + ")";
}
