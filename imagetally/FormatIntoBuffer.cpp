#include "FormatIntoBuffer.h"

#include <cstdarg>
#include <cstdio>

int FormatIntoBuffer(char* buffer, unsigned size, const char* format, ...) {
    if (!buffer || size == 0) {
        return -1;
    }
    va_list arguments;
    va_start(arguments, format);
    int result = std::vsnprintf(buffer, size, format, arguments);
    va_end(arguments);
    buffer[size - 1] = '\0';
    return result;
}
