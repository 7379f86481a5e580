// What a screen reader learns of a button window through Active Accessibility: the IAccessible
// handed out for WM_GETOBJECT, alive only as long as its window, and the events that tell a
// listening tool of the changes it did not cause. The rule of the name, the description and the
// control's states is the one every host shares (button/Accessible.hpp).
#include "button/Accessible.hpp"

#include "host/win32/ButtonWindow.hpp"
#include "host/win32/ComSupport.hpp"
#include "host/win32/WideText.hpp"

namespace tarvex::win32 {

namespace {

constexpr wchar_t kPressAction[] = L"Press";

}  // namespace

// The button's own object. Every call comes through the thread that owns the window (the object
// lives in that thread's apartment); once the window is gone each answers CO_E_OBJNOTCONNECTED.
class ButtonAccessible final : public AccessibleBase {
  public:
    explicit ButtonAccessible(ButtonWindow& window) : window_(&window) {}
    void Disconnect() { window_ = nullptr; }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) return E_POINTER;
        *parent = nullptr;
        if (!window_) return CO_E_OBJNOTCONNECTED;
        return AccessibleObjectFromWindow(GetParent(window_->handle()), DWORD(OBJID_CLIENT),
                                          __uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return window_ ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (child == nullptr) return E_POINTER;
        *child = nullptr;
        return window_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, [](const ButtonWindow& w) { return w.SpokenName(); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, [](const ButtonWindow&) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Text(child, description,
                    [](const ButtonWindow& w) { return w.SpokenDescription(); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Number(child, role, [](const ButtonWindow& w) { return w.AccessibleRole(); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Number(child, state, [](const ButtonWindow& w) { return w.AccessibleState(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Text(child, help, [](const ButtonWindow&) { return std::string(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return window_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return Text(child, keys, [](const ButtonWindow& w) { return w.KeyboardShortcut(); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        VariantInit(focus);
        if (!window_) return CO_E_OBJNOTCONNECTED;
        if (GetFocus() != window_->handle()) return S_FALSE;
        focus->vt = VT_I4;
        focus->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) return E_POINTER;
        VariantInit(selection);
        return window_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    // A button that takes no clicks now (disabled, hidden) offers nothing to do.
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (action == nullptr) return E_POINTER;
        *action = nullptr;
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        return ReturnText(std::wstring_view(window_->TakesPresses() ? kPressAction : L""), action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        if (flags & ~SELFLAG_TAKEFOCUS) return E_INVALIDARG;  // no selection of its own
        if ((flags & SELFLAG_TAKEFOCUS) && !window_->TakesPresses()) return S_FALSE;
        if (flags & SELFLAG_TAKEFOCUS) SetFocus(window_->handle());
        return S_OK;
    }
    // The window's own rectangle on the screen, in the device pixels the system places it in at
    // whatever resolution the window runs.
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        RECT r{};
        if (!GetWindowRect(window_->handle(), &r)) return HRESULT_FROM_WIN32(GetLastError());
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) return E_POINTER;
        VariantInit(end);
        if (const HRESULT checked = Check(start); checked != S_OK) return checked;
        // No children to go to; the siblings are the dialog's to list.
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) return S_FALSE;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (hit == nullptr) return E_POINTER;
        VariantInit(hit);
        if (!window_) return CO_E_OBJNOTCONNECTED;
        if (!window_->IsOnScreenPoint(POINT{x, y})) return S_FALSE;
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    // The press runs once the call has returned: a Click handler may open a modal box, and the
    // screen reader that asked must not wait for its answer meanwhile.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        if (!window_->TakesPresses()) return DISP_E_MEMBERNOTFOUND;
        return window_->PressSoon() ? S_OK : HRESULT_FROM_WIN32(GetLastError());
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override {
        return window_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override {
        return window_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
    }

  private:
    HWND Window() const override { return window_ ? window_->handle() : nullptr; }

    HRESULT Check(const VARIANT& child) const {
        if (!window_) return CO_E_OBJNOTCONNECTED;
        return IsSelf(child) ? S_OK : E_INVALIDARG;
    }
    template <typename Get>
    HRESULT Text(const VARIANT& child, BSTR* out, Get get) const {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        return ReturnText(std::string_view(get(*window_)), out);
    }
    template <typename Get>
    HRESULT Number(const VARIANT& child, VARIANT* out, Get get) const {
        if (out == nullptr) return E_POINTER;
        VariantInit(out);
        if (const HRESULT checked = Check(child); checked != S_OK) return checked;
        out->vt = VT_I4;
        out->lVal = get(*window_);
        return S_OK;
    }

    ButtonWindow* window_;
};

void ButtonWindow::AccessibleRelease::operator()(ButtonAccessible* object) const {
    object->Disconnect();
    object->Release();
}

// ---- The window's side --------------------------------------------------------------------------

LRESULT ButtonWindow::AnswerAccessibleRequest(WPARAM wParam, LPARAM lParam) {
    // The object number travels in the low 32 bits, sign and all.
    if (LONG(DWORD(lParam)) != OBJID_CLIENT) return 0;
    if (!accessible_) accessible_.reset(new ButtonAccessible(*this));
    const LRESULT answer =
        LresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(accessible_.get()));
    return answer > 0 ? answer : 0;  // a failure leaves the system's own answer
}

void ButtonWindow::setToolTip(std::string text) {
    toolTip_ = std::move(text);
    ReportAccessibleChanges();
}

std::string ButtonWindow::SpokenName() const {
    const std::string caption = button_ ? button_->Caption() : std::string();
    return AccessibleName({{}, caption, toolTip_, name_});
}

std::string ButtonWindow::SpokenDescription() const {
    return AccessibleDescription({}, toolTip_);
}

LONG ButtonWindow::AccessibleRole() const {
    return button_ && button_->mOptionButton == kTrue ? ROLE_SYSTEM_RADIOBUTTON
                                                      : ROLE_SYSTEM_PUSHBUTTON;
}

// Focusable while the button takes the focus (enabled and shown), as the system's own buttons.
LONG ButtonWindow::AccessibleState() const {
    LONG state = 0;
    const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
    const bool visible = IsWindowVisible(hwnd_) != FALSE;
    if (!enabled) state |= STATE_SYSTEM_UNAVAILABLE;
    if (!visible) state |= STATE_SYSTEM_INVISIBLE;
    if (enabled && visible) state |= STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == hwnd_) state |= STATE_SYSTEM_FOCUSED;
    if (button_) {
        const ButtonStates states = StatesOf(*button_);
        if (states.pressed) state |= STATE_SYSTEM_PRESSED;
        if (states.hotTracked) state |= STATE_SYSTEM_HOTTRACKED;
        if (states.checked) state |= STATE_SYSTEM_CHECKED;
    }
    return state;
}

std::string ButtonWindow::KeyboardShortcut() const {
    return AccessKeyShortcut(accessKey_);
}

// A modal box disables the window it belongs to, not the buttons in it: a press a tool asks for
// behind the box must be refused as the mouse's is, so every window up the chain must take input.
bool ButtonWindow::TakesPresses() const {
    if (!button_ || !IsWindowVisible(hwnd_)) return false;
    for (HWND window = hwnd_; window; window = GetParent(window)) {
        if (!IsWindowEnabled(window)) return false;
    }
    return true;
}

bool ButtonWindow::IsOnScreenPoint(POINT screen) const {
    if (!ScreenToClient(hwnd_, &screen)) return false;
    return IsOnShape(screen);
}

bool ButtonWindow::PressSoon() {
    return PostMessageW(hwnd_, kAccessiblePress, 0, 0) != FALSE;
}

// The button may have been disabled or hidden since the tool asked.
void ButtonWindow::OnAccessiblePress() {
    if (!TakesPresses()) return;
    PressForAssistiveTool(*button_);
}

ButtonWindow::Heard ButtonWindow::Hear() const {
    // Focus has its own event, and showing and hiding the system tells itself.
    constexpr LONG kToldElsewhere = STATE_SYSTEM_FOCUSED | STATE_SYSTEM_INVISIBLE;
    return {SpokenName(), SpokenDescription(), AccessibleState() & ~kToldElsewhere};
}

void ButtonWindow::ReportAccessibleChanges() {
    if (!reporting_) return;
    Heard now = Hear();
    const bool named = now.name != heard_.name;
    const bool described = now.description != heard_.description;
    const bool stated = now.state != heard_.state;
    heard_ = std::move(now);
    // Told after the change is in place: a listener reads the new state back at once.
    if (named) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    if (described)
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
    if (stated) NotifyWinEvent(EVENT_OBJECT_STATECHANGE, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

void ButtonWindow::StartReportingAccessibleChanges() {
    heard_ = Hear();
    reporting_ = true;
}

void ButtonWindow::ReportFocus() {
    NotifyWinEvent(EVENT_OBJECT_FOCUS, hwnd_, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace tarvex::win32
