#include "UpFilter.h"

void FilterUp(unsigned char* row, const unsigned char* above, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) {
        row[i] = static_cast<unsigned char>(row[i] - above[i]);
    }
}

void FilterUpKeeping(unsigned char* row, unsigned char* above, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) {
        const unsigned char own = row[i];
        row[i] = static_cast<unsigned char>(own - above[i]);
        above[i] = own;
    }
}
