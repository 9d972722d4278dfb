#pragma once

// Holds one reference on a ZqRefObject (or nothing).
template <class T> class ZqPointer {
public:
    ZqPointer(T* object = nullptr) : m_pObject(object) { Acquire(); }
    ZqPointer(const ZqPointer& other) : m_pObject(other.m_pObject) { Acquire(); }
    template <class U> ZqPointer(const ZqPointer<U>& other) : m_pObject(other) { Acquire(); }
    ~ZqPointer() { Release(); }

    ZqPointer& operator=(T* object) {
        if (object != m_pObject) {
            if (object) {
                object->IncRefCount();
            }
            Release();
            m_pObject = object;
        }
        return *this;
    }
    ZqPointer& operator=(const ZqPointer& other) { return *this = other.m_pObject; }

    operator T*() const { return m_pObject; }
    T& operator*() const { return *m_pObject; }
    T* operator->() const { return m_pObject; }

private:
    void Acquire() {
        if (m_pObject) {
            m_pObject->IncRefCount();
        }
    }
    void Release() {
        if (m_pObject) {
            m_pObject->DecRefCount();
        }
    }

    T* m_pObject;
};
