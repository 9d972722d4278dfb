#include "NewFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

std::FILE* CreateNewFile(const std::string& path, std::string& error) {
    // O_EXCL also refuses a symbolic link, dangling or not.
    int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    std::FILE* stream = file >= 0 ? ::fdopen(file, "wb") : nullptr;
    if (!stream) {
        error = std::strerror(errno);
        if (file >= 0) {
            ::close(file);
        }
    }
    return stream;
}
