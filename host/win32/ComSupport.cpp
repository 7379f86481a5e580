#include "host/win32/ComSupport.hpp"

#include "host/win32/WideText.hpp"

namespace tarvex::win32 {

namespace {

// The type library that describes IAccessible (oleacc's), loaded once per process.
ITypeInfo* AccessibleTypeInfo() {
    static ITypeInfo* const info = []() -> ITypeInfo* {
        static const GUID kLibrary = {
            0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
        ComRef<ITypeLib> library;
        if (FAILED(LoadRegTypeLib(kLibrary, 1, 1, 0, library.Receive()))) return nullptr;
        ITypeInfo* found = nullptr;
        if (FAILED(library->GetTypeInfoOfGuid(kIidAccessible, &found))) return nullptr;
        return found;  // kept for the life of the process
    }();
    return info;
}

}  // namespace

HRESULT ReturnText(std::wstring_view text, BSTR* out, bool emptyIsNone) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (text.empty() && emptyIsNone) return S_FALSE;
    *out = SysAllocStringLen(text.data(), UINT(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnText(std::string_view utf8, BSTR* out, bool emptyIsNone) {
    return ReturnText(std::wstring_view(Widen(utf8)), out, emptyIsNone);
}

HRESULT STDMETHODCALLTYPE AccessibleBase::QueryInterface(REFIID riid, void** out) {
    if (out == nullptr) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == kIidAccessible) {
        *out = static_cast<IAccessible*>(this);
    } else if (riid == __uuidof(IOleWindow)) {
        *out = static_cast<IOleWindow*>(this);
    } else if (void* other = OtherInterface(riid)) {
        *out = other;
        return S_OK;  // the other object counted it
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE AccessibleBase::AddRef() {
    return ULONG(InterlockedIncrement(&references_));
}

ULONG STDMETHODCALLTYPE AccessibleBase::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return ULONG(left);
}

HRESULT STDMETHODCALLTYPE AccessibleBase::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = AccessibleTypeInfo() ? 1 : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleBase::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* found = AccessibleTypeInfo();
    if (!found) return E_NOTIMPL;
    found->AddRef();
    *info = found;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleBase::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                        DISPID* ids) {
    ITypeInfo* found = AccessibleTypeInfo();
    return found ? DispGetIDsOfNames(found, names, count, ids) : E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccessibleBase::Invoke(DISPID member, REFIID, LCID, WORD flags,
                                                 DISPPARAMS* params, VARIANT* result,
                                                 EXCEPINFO* exception, UINT* argumentError) {
    ITypeInfo* found = AccessibleTypeInfo();
    if (!found) return E_NOTIMPL;
    return DispInvoke(static_cast<IAccessible*>(this), found, member, flags, params, result,
                      exception, argumentError);
}

HRESULT STDMETHODCALLTYPE AccessibleBase::GetWindow(HWND* window) {
    if (window == nullptr) return E_POINTER;
    *window = Window();
    return *window ? S_OK : CO_E_OBJNOTCONNECTED;
}

}  // namespace tarvex::win32
