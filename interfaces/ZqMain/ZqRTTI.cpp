#include "ZqRTTI.h"

#include "ZqPlatform.h"

namespace {

// A fixed table, set up before any constructor runs: records are built while
// libraries load, where an allocation that fails could only abort.
const ZqRTTI* g_built[ZqRTTI::BUILT_CAPACITY];
unsigned g_builtCount = 0;

// Drops the records whose library is gone, keeping the others in order; the
// records themselves are not read, their memory may be unmapped.
void ForgetUnloadedRecords() {
    unsigned kept = 0;
    for (unsigned i = 0; i < g_builtCount; ++i) {
        if (ZqPlatform::IsLoadedAddress(g_built[i])) {
            g_built[kept++] = g_built[i];
        }
    }
    g_builtCount = kept;
}

} // namespace

ZqRTTI::ZqRTTI(const char* name, const ZqRTTI* base) : m_pcName(name), m_pkBaseRTTI(base) {
    ZqPlatform::SetUnloadListener(&ForgetUnloadedRecords);
    if (g_builtCount < BUILT_CAPACITY) {
        g_built[g_builtCount++] = this;
    }
}

bool ZqRTTI::IsKindOf(const ZqRTTI* other) const {
    for (const ZqRTTI* record = this; record; record = record->m_pkBaseRTTI) {
        if (record == other) {
            return true;
        }
    }
    return false;
}

unsigned ZqRTTI::GetBuiltCount() {
    return g_builtCount;
}

const ZqRTTI* ZqRTTI::GetBuilt(unsigned index) {
    return index < g_builtCount ? g_built[index] : nullptr;
}
