// A stand-in KFM viewer for the Windows integration test: writes the command
// line it was started with to viewer-args.txt beside itself.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    std::string path = argv[0];
    size_t slash = path.find_last_of("\\/");
    path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
           "viewer-args.txt";
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        std::fprintf(file, "%s\n", argv[i]);
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
