#include "ZqStricmp.h"

namespace {
int Lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}
} // namespace

int ZqStricmp(const char* a, const char* b) {
    if (!a || !b) {
        return (a ? 1 : 0) - (b ? 1 : 0);
    }
    for (;; ++a, ++b) {
        int difference =
            Lower(static_cast<unsigned char>(*a)) - Lower(static_cast<unsigned char>(*b));
        if (difference != 0 || *a == '\0') {
            return difference;
        }
    }
}
