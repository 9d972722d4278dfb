#include "ZqAnimationLog.h"

#include <string>
#include <vector>

namespace {
std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}
} // namespace

unsigned ZqAnimationLogCount() {
    return static_cast<unsigned>(Log().size());
}

const char* ZqAnimationLogAt(unsigned index) {
    return index < Log().size() ? Log()[index].c_str() : nullptr;
}

void ZqAnimationLogClear() {
    Log().clear();
}

int ZqAnimationLogAdd(const char* entry) {
    Log().emplace_back(entry ? entry : "");
    return static_cast<int>(Log().size() - 1);
}
