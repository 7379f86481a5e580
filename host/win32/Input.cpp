// Mouse, keyboard, focus and access keys: the window's messages turned into the control's
// handlers with the classic button codes and shift state, as the Qt host turns its events.
#include "host/win32/ButtonWindow.hpp"
// The message crackers, after the layer's Windows header.
#include <windowsx.h>

#include "host/win32/WideText.hpp"

namespace tarvex::win32 {

namespace {

constexpr std::int16_t kShiftBit = 1;
constexpr std::int16_t kCtrlBit = 2;
constexpr std::int16_t kAltBit = 4;

bool Held(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

// Shift state of a mouse message: its own Shift and Ctrl flags, Alt from the keyboard.
std::int16_t MouseShift(WPARAM flags) {
    std::int16_t s = 0;
    if (flags & MK_SHIFT) s |= kShiftBit;
    if (flags & MK_CONTROL) s |= kCtrlBit;
    if (Held(VK_MENU)) s |= kAltBit;
    return s;
}

std::int16_t KeyShift() {
    std::int16_t s = 0;
    if (Held(VK_SHIFT)) s |= kShiftBit;
    if (Held(VK_CONTROL)) s |= kCtrlBit;
    if (Held(VK_MENU)) s |= kAltBit;
    return s;
}

// The buttons held during a move: left 1, right 2, middle 4 (side buttons are not the control's).
std::int16_t ButtonsHeld(WPARAM flags) {
    std::int16_t code = 0;
    if (flags & MK_LBUTTON) code |= 1;
    if (flags & MK_RBUTTON) code |= 2;
    if (flags & MK_MBUTTON) code |= 4;
    return code;
}

std::int16_t ButtonCode(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
            return 1;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            return 2;
        default:
            return 4;
    }
}

// The keys the control hears of: the classic keyboard's (letters, digits, the keypad, function
// keys, editing and navigation keys, modifiers, the Windows and menu keys, punctuation). Media,
// browser and IME keys are not passed on.
bool IsClassicKey(WPARAM key) {
    if (key == VK_BACK || key == VK_TAB || key == VK_CLEAR || key == VK_RETURN) return true;
    if (key >= VK_SHIFT && key <= VK_CAPITAL) return true;  // Shift, Ctrl, Alt, Pause, Caps Lock
    if (key == VK_ESCAPE) return true;
    if (key >= VK_SPACE && key <= VK_HELP && key != VK_EXECUTE && key != VK_SNAPSHOT) {
        return key != 0x2A;  // VK_PRINT: no key of the classic keyboard
    }
    if (key >= '0' && key <= '9') return true;
    if (key >= 'A' && key <= 'Z') return true;
    if (key >= VK_LWIN && key <= VK_APPS) return true;
    if (key >= VK_NUMPAD0 && key <= VK_DIVIDE && key != VK_SEPARATOR) return true;
    if (key >= VK_F1 && key <= VK_F24) return true;
    if (key == VK_NUMLOCK || key == VK_SCROLL) return true;
    if (key >= VK_OEM_1 && key <= VK_OEM_3) return true;
    return key >= VK_OEM_4 && key <= VK_OEM_7;
}

template <typename Step>
bool Outlives(const TarvexButton& b, Step step) {
    const std::weak_ptr<const void> life = b.LifeToken();
    step();
    return !life.expired();
}

HWND FormOf(HWND window) {
    return GetAncestor(window, GA_ROOT);
}

struct AccessKeySearch {
    char32_t key;
    bool found = false;
};

// Whether a button of the form that can take it now has `key` as its access key.
bool IsAccessKeyOfForm(HWND form, char32_t key) {
    AccessKeySearch search{key};
    EnumChildWindows(
        form,
        [](HWND child, LPARAM param) -> BOOL {
            auto& wanted = *reinterpret_cast<AccessKeySearch*>(param);
            const ButtonWindow* window = ButtonWindow::FromHandle(child);
            if (window && IsWindowVisible(child) && IsWindowEnabled(child) &&
                window->AccessKeyIs(wanted.key)) {
                wanted.found = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

char32_t LowerAscii(char32_t c) {
    return (c >= U'A' && c <= U'Z') ? c + (U'a' - U'A') : c;
}

// The caption's own access key as the control finds it: the character after the first single
// "&" ("&&" is a literal ampersand).
std::optional<char32_t> CaptionMarker(const std::u32string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != U'&') continue;
        if (caption[i + 1] == U'&') {
            ++i;
            continue;
        }
        return LowerAscii(caption[i + 1]);
    }
    return std::nullopt;
}

}  // namespace

// ---- Mouse --------------------------------------------------------------------------------------

// Left, right and middle buttons only; a press gives the button the focus first, as a click on
// any focusable control does, and holds the mouse until every button is up again.
bool ButtonWindow::OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!button_) return false;
    const std::int16_t code = ButtonCode(message);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            OnMouseDown(code, wParam, lParam);
            return true;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            OnDoubleClick(code);
            return true;
        default:
            OnMouseUp(code, wParam, lParam);
            return true;
    }
}

void ButtonWindow::OnMouseDown(std::int16_t code, WPARAM wParam, LPARAM lParam) {
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    if (!button_) return;
    if (GetCapture() != hwnd_) SetCapture(hwnd_);
    if (gestureButton_ == 0) gestureButton_ = code;
    button_->MouseDownHandler(code, MouseShift(wParam), float(GET_X_LPARAM(lParam)),
                              float(GET_Y_LPARAM(lParam)));
}

// The second press of a double click: the control hears only the double click, and the release
// that follows makes no click.
void ButtonWindow::OnDoubleClick(std::int16_t) {
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    if (!button_) return;
    if (GetCapture() != hwnd_) SetCapture(hwnd_);
    button_->DblClickHandler();
}

// The mouse is let go as soon as the last button is up, before the control hears of it: a box
// that its click opens must have the mouse to itself.
void ButtonWindow::OnMouseUp(std::int16_t code, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool endsGesture = code == gestureButton_;
    const bool onControl = IsOnShape(at);
    if (endsGesture) gestureButton_ = 0;
    if (ButtonsHeld(wParam) == 0 && GetCapture() == hwnd_) ReleaseCapture();
    if (!button_) return;
    const bool stays = Outlives(*button_, [&] {
        button_->MouseUpHandler(code, MouseShift(wParam), float(at.x), float(at.y));
    });
    if (stays && endsGesture && onControl) button_->ClickHandler();
}

void ButtonWindow::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!button_) return;
    button_->MouseMoveHandler(ButtonsHeld(wParam), MouseShift(wParam), float(GET_X_LPARAM(lParam)),
                              float(GET_Y_LPARAM(lParam)));
}

// Another window took the mouse (a box opened, the user switched away): the press no longer
// makes a click.
void ButtonWindow::OnCaptureLost() {
    gestureButton_ = 0;
}

bool ButtonWindow::IsOnShape(POINT at) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (!PtInRect(&client, at)) return false;
    return !shape_ || shape_->PtInRegion(at.x, at.y);
}

// ---- Keyboard -----------------------------------------------------------------------------------

void ButtonWindow::OnKeyDown(WPARAM key, bool systemKey) {
    if (!button_ || !IsClassicKey(key)) return;
    // Alt with another button's access key is that button's command, not a key of this one.
    if (systemKey && Held(VK_MENU) && !Held(VK_CONTROL)) {
        const UINT character = MapVirtualKeyW(UINT(key), MAPVK_VK_TO_CHAR) & 0x7FFF;
        if (character != 0 && IsAccessKeyOfForm(FormOf(hwnd_), LowerAscii(char32_t(character))))
            return;
    }
    button_->KeyDownHandler(std::int16_t(key), KeyShift());
}

void ButtonWindow::OnKeyUp(WPARAM key) {
    if (!button_ || !IsClassicKey(key)) return;
    button_->KeyUpHandler(std::int16_t(key), KeyShift());
}

// Typed characters of the classic range raise KeyPress; Alt with a key is a command and comes
// as a system character instead, so it raises none.
void ButtonWindow::OnChar(WPARAM character) {
    if (!button_ || character >= 256) return;
    button_->KeyPressHandler(std::int16_t(character));
}

// Every key but Tab is the button's (arrows move the focus through the control's own rule, Enter
// and Escape are its keys too); the dialog manager keeps Tab and finds the button's mnemonic.
LRESULT ButtonWindow::DialogCode(const MSG* message) const {
    LRESULT code = DLGC_BUTTON | DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (message && message->message == WM_KEYDOWN && message->wParam != VK_TAB)
        code |= DLGC_WANTMESSAGE;
    return code;
}

// ---- Focus --------------------------------------------------------------------------------------

// The form becoming active again gives the focus back to the button that had it: no focus change
// of the form's own.
void ButtonWindow::OnFocusIn() {
    if (!button_ || button_->mHasFocus == kTrue) return;
    button_->EnterFocus();
}

// Focus that leaves the form (another window, a box) is the window's deactivation, not the
// button's loss; the form settles it when it is active again.
void ButtonWindow::OnFocusOut(HWND gaining) {
    if (!button_) return;
    if (gaining == nullptr || FormOf(gaining) != FormOf(hwnd_)) return;
    button_->ExitFocus();
}

void ButtonWindow::SettleFocus() {
    if (button_ && button_->mHasFocus == kTrue && GetFocus() != hwnd_) button_->ExitFocus();
}

void SettleFocusAfterActivation(HWND form) {
    EnumChildWindows(
        form,
        [](HWND child, LPARAM) -> BOOL {
            if (ButtonWindow* window = ButtonWindow::FromHandle(child))
                window->Reporting([&] { window->SettleFocus(); });
            return TRUE;
        },
        0);
}

// ---- Access keys --------------------------------------------------------------------------------

void ButtonWindow::OnAccessKey() {
    if (!button_ || !IsWindowEnabled(hwnd_) || !IsWindowVisible(hwnd_)) return;
    button_->AccessKeyPress(std::int16_t(accessKey_.empty() ? 0 : accessKey_.front()));
}

bool ButtonWindow::AccessKeyIs(char32_t key) const {
    return !accessKey_.empty() && accessKey_.front() == key;
}

// The dialog manager finds a button's mnemonic in its window text: the caption itself when its
// marker is the access key, otherwise the key alone.
void ButtonWindow::SetAccessKeys(std::string_view keys) {
    accessKey_ = gdi::Utf8ToUtf32(keys);
    for (char32_t& c : accessKey_) c = LowerAscii(c);
    UpdateMnemonicText();
}

void ButtonWindow::UpdateMnemonicText() {
    if (!button_) return;
    const std::u32string caption = gdi::Utf8ToUtf32(button_->Caption());
    std::u32string text = caption;
    if (!accessKey_.empty() && CaptionMarker(caption) != accessKey_.front())
        text = U"&" + accessKey_.substr(0, 1);
    SetWindowTextW(hwnd_, Widen(gdi::Utf32ToUtf8(text)).c_str());
}

}  // namespace tarvex::win32
