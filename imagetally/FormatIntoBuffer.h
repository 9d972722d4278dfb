#pragma once

// printf into `buffer`, writing at most `size` bytes; the last byte of the
// buffer always ends the text, so at most size - 1 characters remain. Answers
// what vsnprintf answers.
int FormatIntoBuffer(char* buffer, unsigned size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
