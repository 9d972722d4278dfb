#include "ZqRefObject.h"

#include <atomic>

namespace {
std::atomic<unsigned> g_totalObjects{0};
}

ZqRefObject::ZqRefObject() : m_uiRefCount(0) {
    ++g_totalObjects;
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
