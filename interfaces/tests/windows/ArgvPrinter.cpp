// Prints the arguments as the C runtime split this program's command line:
// the count, then each argument in hexadecimal, one a line, so that spaces,
// tabs and quotes come through unchanged.
#include <cstdio>

int main(int argc, char** argv) {
    std::printf("%d\n", argc);
    for (int i = 0; i < argc; ++i) {
        for (const char* c = argv[i]; *c; ++c) {
            std::printf("%02x", static_cast<unsigned char>(*c));
        }
        std::printf("\n");
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
