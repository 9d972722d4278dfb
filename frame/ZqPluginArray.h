#pragma once

#include "ZqPlugin.h"
#include "ZqPointer.h"

// The host's plug-in array. It crosses the module boundary by address, so its
// layout is fixed: element storage, then capacity, then count. Host and modules
// compile these same inline operations and share one heap, so either side may
// grow or free the storage.
class ZqPluginArray {
public:
    ZqPluginArray() : m_pBase(nullptr), m_uiMaxSize(0), m_uiSize(0) {}
    ZqPluginArray(const ZqPluginArray&) = delete;
    ZqPluginArray& operator=(const ZqPluginArray&) = delete;
    ~ZqPluginArray() { RemoveAll(); }

    unsigned GetSize() const { return m_uiSize; }
    unsigned GetAllocatedSize() const { return m_uiMaxSize; }
    ZqPlugin* GetAt(unsigned index) const { return index < m_uiSize ? m_pBase[index] : nullptr; }
    const ZqPointer<ZqPlugin>* GetBase() const { return m_pBase; }

    // Appends `plugin`, doubling the capacity when full (0 grows to 1).
    void Add(ZqPlugin* plugin) {
        if (m_uiSize == m_uiMaxSize) {
            SetCapacity(m_uiMaxSize == 0 ? 1 : m_uiMaxSize * 2);
        }
        m_pBase[m_uiSize] = plugin;
        ++m_uiSize;
    }

    // Moves the elements into new storage of `capacity` elements; those beyond
    // it are released. The count never exceeds the capacity.
    void SetCapacity(unsigned capacity) {
        if (capacity == m_uiMaxSize) {
            return;
        }
        unsigned kept = m_uiSize < capacity ? m_uiSize : capacity;
        ZqPointer<ZqPlugin>* storage = nullptr;
        if (capacity > 0) {
            storage = new ZqPointer<ZqPlugin>[capacity];
            for (unsigned i = 0; i < kept; ++i) {
                storage[i] = m_pBase[i];
            }
        }
        FreeStorage();
        m_pBase = storage;
        m_uiMaxSize = capacity;
        m_uiSize = kept;
    }

    // Releases every plug-in, last to first, and frees the storage.
    void RemoveAll() {
        FreeStorage();
        m_pBase = nullptr;
        m_uiMaxSize = 0;
        m_uiSize = 0;
    }

private:
    void FreeStorage() {
        if (!m_pBase) {
            return;
        }
        for (unsigned i = m_uiMaxSize; i > 0; --i) {
            m_pBase[i - 1] = nullptr;
        }
        delete[] m_pBase;
    }

    ZqPointer<ZqPlugin>* m_pBase;
    unsigned m_uiMaxSize;
    unsigned m_uiSize;
};

static_assert(sizeof(ZqPointer<ZqPlugin>) == sizeof(void*), "an element is one plug-in address");
static_assert(sizeof(void*) != 4 || sizeof(ZqPluginArray) == 12,
              "on 32-bit builds the plug-in array is exactly three 32-bit fields");
