#include "ZqTexture.h"

const ZqRTTI ZqTexture::m_RTTI("ZqTexture", &ZqObject::m_RTTI);

namespace {
ZqTexture* g_head = nullptr;
ZqTexture* g_tail = nullptr;
} // namespace

ZqTexture::ZqTexture() : m_pkPrevious(g_tail) {
    (g_tail ? g_tail->m_pkNext : g_head) = this;
    g_tail = this;
}

ZqTexture::~ZqTexture() {
    (m_pkPrevious ? m_pkPrevious->m_pkNext : g_head) = m_pkNext;
    (m_pkNext ? m_pkNext->m_pkPrevious : g_tail) = m_pkPrevious;
}

ZqTexture* ZqTexture::GetListHead() {
    return g_head;
}
