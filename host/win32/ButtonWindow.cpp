// The button window's class and procedure: creation from a stored set, the lifecycle
// notifications, and the dispatch of every message to the concern that handles it.
#include "host/win32/ButtonWindow.hpp"

#include "button/PropertyBag.hpp"
#include "host/win32/WideText.hpp"

namespace tarvex::win32 {

namespace {

constexpr UINT_PTR kHoverTimerId = 1;
constexpr UINT kDpiChangedAfterParent = 0x02E3;  // WM_DPICHANGED_AFTERPARENT

// Why the last CreateButtonWindow failed inside the window's creation (the system only says
// that it failed).
thread_local std::string creationFailure;

}  // namespace

LRESULT CALLBACK ButtonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The window's text and frame first, so the control may set them while it is created.
        if (!DefWindowProcW(hwnd, message, wParam, lParam)) return FALSE;
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const auto* creation = static_cast<const ButtonCreation*>(create->lpCreateParams);
        if (creation == nullptr) {
            creationFailure = "a button window needs its creation data";
            return FALSE;
        }
        try {
            auto* window = new ButtonWindow(hwnd, *creation);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        } catch (const std::exception& error) {
            creationFailure = error.what();
            return FALSE;
        }
        return TRUE;
    }
    ButtonWindow* window = ButtonWindow::FromHandle(hwnd);
    if (window == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        SetControlName(hwnd, "");
        window->reporting_ = false;
        window->accessible_.reset();  // a tool that still holds it is answered "not connected"
        window->button_.reset();      // the terminate step, while the host is still whole
        if (window->depth_ > 0)
            window->destroyed_ = true;
        else
            delete window;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    ++window->depth_;
    const LRESULT result = window->Handle(message, wParam, lParam);
    if (--window->depth_ == 0 && window->destroyed_) delete window;
    return result;
}

void RegisterButtonClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, kButtonClassName, &wc)) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    // Double clicks come as their own message, as the control expects: no press and no click for
    // the second press.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ButtonWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kButtonClassName;
    if (!RegisterClassExW(&wc))
        throw HostError("the button window class cannot be registered (error " +
                        std::to_string(GetLastError()) + ")");
}

HWND CreateButtonWindow(HWND parent, int id, const ButtonCreation& creation, const RECT& bounds) {
    RegisterButtonClass();
    creationFailure.clear();
    // Created hidden and then shown, so the control hears its show notification.
    const HWND hwnd = CreateWindowExW(
        0, kButtonClassName, Widen(creation.name).c_str(), WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS,
        bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
        const_cast<ButtonCreation*>(&creation));
    if (hwnd == nullptr) {
        throw HostError("the button \"" + creation.name + "\" cannot be created: " +
                        (creationFailure.empty() ? "error " + std::to_string(GetLastError())
                                                 : creationFailure));
    }
    ShowWindow(hwnd, SW_SHOWNA);
    return hwnd;
}

ButtonWindow* ButtonWindow::FromHandle(HWND window) {
    if (window == nullptr) return nullptr;
    wchar_t className[64] = {};
    if (!GetClassNameW(window, className, 64) || lstrcmpW(className, kButtonClassName) != 0)
        return nullptr;
    return reinterpret_cast<ButtonWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// A control starts either from the new-instance defaults or from a stored set, never both.
ButtonWindow::ButtonWindow(HWND hwnd, const ButtonCreation& creation)
    : hwnd_(hwnd), name_(creation.name), index_(creation.index) {
    SetControlName(hwnd, creation.name, creation.index);
    ambientFont_ = FormFont();
    baseFont_ = ambientFont_;
    button_ = std::make_unique<TarvexButton>(static_cast<ControlHost&>(*this));
    if (creation.stored)
        button_->ReadProperties(*creation.stored);
    else
        button_->InitProperties();
    StartReportingAccessibleChanges();
}

ButtonWindow::~ButtonWindow() {
    button_.reset();
    if (customCursor_) DestroyCursor(customCursor_);
}

void ButtonWindow::setAmbientFont(FontRef font) {
    if (!font) return;
    ambientFont_ = std::move(font);
    if (button_) Reporting([&] { button_->AmbientChanged("Font"); });
}

void ButtonWindow::ReportFailure(const std::string& failure) {
    CurrentMessageBoxService().Show(GetAncestor(hwnd_, GA_ROOT), Widen(failure),
                                    vbCritical | vbOKOnly, Widen(ApplicationTitle()));
}

LRESULT ButtonWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the back buffer covers every pixel
        case WM_SIZE:
            Reporting([&] { OnSize(); });
            return 0;
        case WM_SHOWWINDOW:
            if (wParam) Reporting([&] { OnShown(); });
            break;
        case WM_MOUSEMOVE:
            Reporting([&] { OnMouseMove(wParam, lParam); });
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            bool handled = false;
            Reporting([&] { handled = OnMouseButton(message, wParam, lParam); });
            if (handled) return 0;
            break;
        }
        case WM_CAPTURECHANGED:
            Reporting([&] { OnCaptureLost(); });
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Reporting([&] { OnKeyDown(wParam, message == WM_SYSKEYDOWN); });
            if (message == WM_KEYDOWN) return 0;
            break;  // Alt+F4 and the system menu stay the window's
        case WM_KEYUP:
        case WM_SYSKEYUP:
            Reporting([&] { OnKeyUp(wParam); });
            if (message == WM_KEYUP) return 0;
            break;
        case WM_CHAR:
            Reporting([&] { OnChar(wParam); });
            return 0;
        case WM_SETFOCUS:
            Reporting([&] { OnFocusIn(); });
            ReportFocus();
            return 0;
        case WM_KILLFOCUS:
            Reporting([&] { OnFocusOut(reinterpret_cast<HWND>(wParam)); });
            return 0;
        case WM_ENABLE:
            ReportAccessibleChanges();
            return 0;
        case WM_GETOBJECT:
            if (const LRESULT answer = AnswerAccessibleRequest(wParam, lParam)) return answer;
            break;
        case kAccessiblePress:
            Reporting([&] { OnAccessiblePress(); });
            return 0;
        case WM_GETDLGCODE:
            return DialogCode(reinterpret_cast<const MSG*>(lParam));
        case BM_CLICK:
            // The dialog manager's answer to the button's mnemonic.
            Reporting([&] { OnAccessKey(); });
            return 0;
        case WM_TIMER:
            if (wParam != kHoverTimerId) break;
            Reporting([&] {
                // A failed tick stops the polling before it is reported: the ticks go on under a
                // modal box, and the same failure must not pile up box after box.
                try {
                    OnHoverTick();
                } catch (...) {
                    SetHoverTimerEnabled(false);
                    throw;
                }
            });
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && ApplyCursor()) return TRUE;
            break;
        case WM_SYSCOLORCHANGE:
            Reporting([&] { OnSystemColoursChanged(); });
            return 0;
        case kDpiChangedAfterParent:
            // The form moved to a monitor of another resolution and placed its controls anew:
            // the caption font is rebuilt at its new pixel height and the shape and layout redone.
            Reporting([&] {
                if (button_) button_->ResolutionChanged();
            });
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// ---- Naming and the container's side ----------------------------------------------------------

std::uintptr_t ButtonWindow::hWnd() const {
    return reinterpret_cast<std::uintptr_t>(hwnd_);
}
std::string ButtonWindow::Name() const {
    return name_;
}
bool ButtonWindow::UserMode() const {
    return userMode_;
}
std::string ButtonWindow::DisplayName() const {
    std::string name = name_;
    if (index_) name += "(" + std::to_string(*index_) + ")";
    return name;
}
FontRef ButtonWindow::AmbientFont() const {
    return ambientFont_;
}
void ButtonWindow::PropertyChanged(std::string_view) {}

ButtonEvents* ButtonWindow::Events() {
    return static_cast<ButtonEvents*>(this);
}

// ---- Events out ---------------------------------------------------------------------------------

void ButtonWindow::Click(TarvexButton& b) {
    if (sink_) sink_->Click(b);
}
void ButtonWindow::MouseDown(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift, float& X,
                             float& Y) {
    if (sink_) sink_->MouseDown(b, Button, Shift, X, Y);
}
void ButtonWindow::MouseMove(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift, float& X,
                             float& Y) {
    if (sink_) sink_->MouseMove(b, Button, Shift, X, Y);
}
void ButtonWindow::MouseUp(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift, float& X,
                           float& Y) {
    if (sink_) sink_->MouseUp(b, Button, Shift, X, Y);
}
void ButtonWindow::KeyPress(TarvexButton& b, std::int16_t& KeyAscii) {
    if (sink_) sink_->KeyPress(b, KeyAscii);
}
void ButtonWindow::KeyDown(TarvexButton& b, std::int16_t& KeyCode, std::int16_t& Shift) {
    if (sink_) sink_->KeyDown(b, KeyCode, Shift);
}
void ButtonWindow::KeyUp(TarvexButton& b, std::int16_t& KeyCode, std::int16_t& Shift) {
    if (sink_) sink_->KeyUp(b, KeyCode, Shift);
}
void ButtonWindow::MouseOut(TarvexButton& b) {
    if (sink_) sink_->MouseOut(b);
}

}  // namespace tarvex::win32
