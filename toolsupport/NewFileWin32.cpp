#include "NewFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

std::FILE* CreateNewFile(const std::string& path, std::string& error) {
    int file =
        ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    std::FILE* stream = file >= 0 ? ::_fdopen(file, "wb") : nullptr;
    if (!stream) {
        error = std::strerror(errno);
        if (file >= 0) {
            ::_close(file);
        }
    }
    return stream;
}
