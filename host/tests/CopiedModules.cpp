#include "CopiedModules.h"

namespace fs = std::filesystem;

void CopyBuiltModules(const fs::path& folder) {
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(std::string(ZQ_BUILD_DIR) + "/plugins")) {
        fs::copy_file(entry.path(), folder / entry.path().filename());
    }
}
