// The system's accessible object of a window with a name, a description or a role of the
// program's choosing over it, handed out from a subclass of the window.
#include "host/win32/WindowDescription.hpp"

#include <commctrl.h>

#include <memory>

#include "button/HostServices.hpp"
#include "host/win32/ComSupport.hpp"

namespace tarvex::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x7476;  // one subclass of this kind per window
// Where a described window keeps its description, to find it again.
constexpr wchar_t kDescriptionProperty[] = L"TarvexAssistiveDescription";

// Every call not about the program's three answers goes to the system's object. Once the window
// is gone (the description with it) each call answers CO_E_OBJNOTCONNECTED.
class DescribedAccessible final : public AccessibleBase {
  public:
    DescribedAccessible(HWND window, ComRef<IAccessible> system,
                        std::weak_ptr<const AssistiveDescription> description)
        : window_(window), system_(std::move(system)), description_(std::move(description)) {}

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Pass([&](IAccessible& s) { return s.get_accParent(parent); });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return Pass([&](IAccessible& s) { return s.get_accChildCount(count); });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return Pass([&](IAccessible& s) { return s.get_accChild(child, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const auto d = description_.lock();
        if (d && IsSelf(child) && !d->name.empty()) return ReturnText(d->name, name);
        return Pass([&](IAccessible& s) { return s.get_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Pass([&](IAccessible& s) { return s.get_accValue(child, value); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        const auto d = description_.lock();
        if (d && IsSelf(child) && !d->description.empty()) return ReturnText(d->description, text);
        return Pass([&](IAccessible& s) { return s.get_accDescription(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const auto d = description_.lock();
        if (d && IsSelf(child) && d->role != 0 && role != nullptr) {
            VariantInit(role);
            role->vt = VT_I4;
            role->lVal = d->role;
            return S_OK;
        }
        return Pass([&](IAccessible& s) { return s.get_accRole(child, role); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Pass([&](IAccessible& s) { return s.get_accState(child, state); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Pass([&](IAccessible& s) { return s.get_accHelp(child, help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Pass([&](IAccessible& s) { return s.get_accHelpTopic(file, child, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return Pass([&](IAccessible& s) { return s.get_accKeyboardShortcut(child, keys); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return Pass([&](IAccessible& s) { return s.get_accFocus(focus); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return Pass([&](IAccessible& s) { return s.get_accSelection(selection); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Pass([&](IAccessible& s) { return s.get_accDefaultAction(child, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return Pass([&](IAccessible& s) { return s.accSelect(flags, child); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return Pass([&](IAccessible& s) { return s.accLocation(left, top, width, height, child); });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return Pass([&](IAccessible& s) { return s.accNavigate(direction, start, end); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        return Pass([&](IAccessible& s) { return s.accHitTest(x, y, hit); });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Pass([&](IAccessible& s) { return s.accDoDefaultAction(child); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return Pass([&](IAccessible& s) { return s.put_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Pass([&](IAccessible& s) { return s.put_accValue(child, value); });
    }

  private:
    HWND Window() const override { return description_.expired() ? nullptr : window_; }

    // The children's enumeration is the system object's (AccessibleChildren asks for it).
    void* OtherInterface(REFIID riid) override {
        if (riid != __uuidof(IEnumVARIANT) || description_.expired()) return nullptr;
        void* out = nullptr;
        return SUCCEEDED(system_->QueryInterface(riid, &out)) ? out : nullptr;
    }

    template <typename Call>
    HRESULT Pass(Call call) const {
        if (description_.expired()) return CO_E_OBJNOTCONNECTED;
        return call(*system_.get());
    }

    HWND window_;
    ComRef<IAccessible> system_;
    std::weak_ptr<const AssistiveDescription> description_;
};

LRESULT CALLBACK DescribedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
    auto* description = reinterpret_cast<std::shared_ptr<const AssistiveDescription>*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, DescribedWindowProc, kSubclassId);
        RemovePropW(window, kDescriptionProperty);
        delete description;  // the objects handed out are disconnected with it
        return DefSubclassProc(window, message, wParam, lParam);
    }
    if (message == WM_GETOBJECT && LONG(DWORD(lParam)) == OBJID_CLIENT) {
        ComRef<IAccessible> system;
        if (SUCCEEDED(CreateStdAccessibleObject(window, OBJID_CLIENT, kIidAccessible,
                                                reinterpret_cast<void**>(system.Receive())))) {
            auto object = ComRef<IAccessible>::Adopt(
                new DescribedAccessible(window, std::move(system),
                                        std::weak_ptr<const AssistiveDescription>(*description)));
            const LRESULT answer = LresultFromObject(kIidAccessible, wParam, object.get());
            if (answer > 0) return answer;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void DescribeForAssistiveTools(HWND window, AssistiveDescription description) {
    auto shared = std::make_shared<const AssistiveDescription>(std::move(description));
    // A window described before keeps its subclass and takes the new description.
    if (auto* held = static_cast<std::shared_ptr<const AssistiveDescription>*>(
            GetPropW(window, kDescriptionProperty))) {
        *held = std::move(shared);
        return;
    }
    auto owned = std::make_unique<std::shared_ptr<const AssistiveDescription>>(std::move(shared));
    if (!SetPropW(window, kDescriptionProperty, owned.get()))
        throw HostError("the window cannot be described to assistive tools");
    if (!SetWindowSubclass(window, DescribedWindowProc, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(owned.get()))) {
        RemovePropW(window, kDescriptionProperty);
        throw HostError("the window cannot be described to assistive tools");
    }
    owned.release();  // the subclass owns it until the window is destroyed
}

}  // namespace tarvex::win32
