#pragma once

#include <utility>

namespace kalvex::com {

// Holds one reference to a COM object and gives it back when it goes, also while an exception
// unwinds the call that made it.
template <class T> class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already owns (an out parameter's, a result's).
    static ComRef adopt(T* object) { return ComRef(object); }
    // Takes a reference of its own to an object someone else holds.
    static ComRef share(T* object) {
        if (object)
            object->AddRef();
        return ComRef(object);
    }

    ComRef(const ComRef& other) : m_object(other.m_object) {
        if (m_object)
            m_object->AddRef();
    }
    ComRef(ComRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~ComRef() { reset(); }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // For an out parameter: drops what is held and lets the callee fill the slot.
    T** put() {
        reset();
        return &m_object;
    }
    void reset() {
        if (T* object = std::exchange(m_object, nullptr))
            object->Release();
    }

private:
    explicit ComRef(T* object) : m_object(object) {}

    T* m_object = nullptr;
};

} // namespace kalvex::com
