#pragma once

#include <unknwn.h>

#include <atomic>

namespace kalvex::com {

// IUnknown for a COM object of our own that offers one interface: it answers for IUnknown and
// for what `offers` accepts, counts its references and deletes itself with the last.
template <class Interface> class RefCounted : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid != IID_IUnknown && !offers(iid)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual ~RefCounted() = default;
    virtual bool offers(REFIID iid) const = 0;

private:
    std::atomic<ULONG> m_references{1};
};

} // namespace kalvex::com
