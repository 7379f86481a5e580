// What the host's accessible objects share: a counted reference to a COM object, text handed
// out as a BSTR, and the IUnknown, IDispatch and IOleWindow parts every object answers the same
// way (IDispatch through the system's type library of IAccessible).
#pragma once

#include "gdi/win32/windows.hpp"
// COM and Active Accessibility, after the layer's Windows header.
#include <ole2.h>
#include <oleacc.h>

#include <string_view>
#include <utility>

namespace tarvex::win32 {

// The interface numbers by __uuidof: MinGW's import library of oleacc resolves IID_IAccessible
// to a function thunk, not to the interface number, in a static link.
inline const IID& kIidAccessible = __uuidof(IAccessible);

// Holds one reference; copies add one, destruction releases it.
template <typename T>
class ComRef {
  public:
    ComRef() = default;
    // Takes over a reference the caller already holds.
    static ComRef Adopt(T* object) {
        ComRef ref;
        ref.object_ = object;
        return ref;
    }
    ComRef(const ComRef& other) : object_(other.object_) {
        if (object_) object_->AddRef();
    }
    ComRef(ComRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ComRef& operator=(ComRef other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~ComRef() {
        if (object_) object_->Release();
    }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // For functions that hand out a new reference: releases the one held first.
    T** Receive() {
        *this = ComRef();
        return &object_;
    }

  private:
    T* object_ = nullptr;
};

// A new BSTR of UTF-8 text in *out: S_OK, S_FALSE (and null) for empty text when `emptyIsNone`,
// E_OUTOFMEMORY when it cannot be made.
HRESULT ReturnText(std::string_view utf8, BSTR* out, bool emptyIsNone = true);
HRESULT ReturnText(std::wstring_view text, BSTR* out, bool emptyIsNone = true);

inline bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// IUnknown, IDispatch and IOleWindow of an accessible object of one window; the object is freed
// when its last reference goes. The window's handle is what WindowFromAccessibleObject finds.
// COM interfaces have no virtual destructor by design (an object ends in its own Release); the
// object's own destructor is virtual.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class AccessibleBase : public IAccessible, public IOleWindow {
  public:
    AccessibleBase() = default;
    AccessibleBase(const AccessibleBase&) = delete;
    AccessibleBase& operator=(const AccessibleBase&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  protected:
    virtual ~AccessibleBase() = default;
    // The window the object speaks for (null once it is gone).
    virtual HWND Window() const = 0;
    // Interfaces beyond these an object answers for (null: none).
    virtual void* OtherInterface(REFIID) { return nullptr; }

  private:
    LONG references_ = 1;
};
#pragma GCC diagnostic pop

}  // namespace tarvex::win32
