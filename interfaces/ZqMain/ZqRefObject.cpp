#include "ZqRefObject.h"

#include <atomic>

namespace {
std::atomic<unsigned> g_totalObjects{0};
std::atomic<unsigned> g_madeObjects{0};
} // namespace

ZqRefObject::ZqRefObject() : m_uiRefCount(0) {
    ++g_totalObjects;
    ++g_madeObjects;
}

ZqRefObject::~ZqRefObject() {
    --g_totalObjects;
}

void ZqRefObject::IncRefCount() {
    ++m_uiRefCount;
}

void ZqRefObject::DecRefCount() {
    if (--m_uiRefCount == 0) {
        delete this;
    }
}

unsigned ZqRefObject::GetTotalObjectCount() {
    return g_totalObjects;
}

unsigned ZqRefObject::GetMadeObjectCount() {
    return g_madeObjects;
}
