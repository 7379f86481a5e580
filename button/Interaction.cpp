// Mouse, keyboard, focus, access-key and hover handling.
//
// The host delivers the base control's notifications; the control turns them into its visual
// state, its option-button selection and its own events. The keyboard, the access key and the
// double-click reuse the mouse handlers with Button -1, which raise no mouse event of their own.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>

#include "button/TarvexButton.hpp"

namespace tarvex {

namespace {

constexpr std::int16_t kInternalButton = -1;
constexpr std::int16_t kLeftButton = 1;
constexpr std::int16_t kRightButton = 2;

constexpr std::int16_t kKeyEnter = 13;
constexpr std::int16_t kKeySpace = 32;
constexpr std::int16_t kKeyLeft = 37;
constexpr std::int16_t kKeyUp = 38;
constexpr std::int16_t kKeyRight = 39;
constexpr std::int16_t kKeyDown = 40;

// The access key's pressed look never holds the window longer than this.
constexpr double kLongestPause = 0.15;

std::int32_t RestState(const TarvexButton& b) {
    return b.mHasFocus == kTrue ? kStateFocused : kStateNormal;
}

bool IsOptionButton(const TarvexButton& b) {
    return b.mOptionButton == kTrue;
}

bool IsSelectedOption(const TarvexButton& b) {
    return IsOptionButton(b) && b.mValue == kTrue;
}

// Space presses a command button and selects an unselected option button.
bool SpacePresses(const TarvexButton& b) {
    return b.mOptionButton == kFalse || (IsOptionButton(b) && b.mValue == kFalse);
}

// Key codes are 8 bits wide; a code outside 0..255 is remembered as "no key" rather than
// truncated, so that 288 never passes for the space bar.
std::uint8_t RememberedKey(std::int16_t keyCode) {
    return keyCode >= 0 && keyCode <= 255 ? static_cast<std::uint8_t>(keyCode) : 0;
}

std::uint8_t MouseButtonCode(std::int16_t button) {
    const int magnitude = std::abs(static_cast<int>(button));
    return static_cast<std::uint8_t>(magnitude & 0xFF);
}

bool PointerOutside(const TarvexButton& b, float x, float y) {
    return x < 0.0f || y < 0.0f || x > static_cast<float>(b.ScaleWidth()) ||
           y > static_cast<float>(b.ScaleHeight());
}

// Runs a step that raises events (one of the control's own handlers, or the raise itself); false
// when a container's handler destroyed the control meanwhile, as a window that deletes the button
// inside Click does. A handler stops at once then.
template <typename Step>
bool Survives(TarvexButton& b, Step step) {
    const std::weak_ptr<const void> life = b.LifeToken();
    step();
    return !life.expired();
}

// The control's events, raised synchronously with their arguments by reference; each answers
// whether the control is still there afterwards.
template <typename Deliver>
bool Raise(TarvexButton& b, Deliver deliver) {
    ButtonEvents* events = b.Host().Events();
    return events == nullptr || Survives(b, [&] { deliver(*events); });
}
bool RaiseClick(TarvexButton& b) {
    return Raise(b, [&](ButtonEvents& e) { e.Click(b); });
}
bool RaiseMouseDown(TarvexButton& b, std::int16_t Button, std::int16_t Shift, float X, float Y) {
    return Raise(b, [&](ButtonEvents& e) { e.MouseDown(b, Button, Shift, X, Y); });
}
bool RaiseMouseMove(TarvexButton& b, std::int16_t Button, std::int16_t Shift, float X, float Y) {
    return Raise(b, [&](ButtonEvents& e) { e.MouseMove(b, Button, Shift, X, Y); });
}
bool RaiseMouseUp(TarvexButton& b, std::int16_t Button, std::int16_t Shift, float X, float Y) {
    return Raise(b, [&](ButtonEvents& e) { e.MouseUp(b, Button, Shift, X, Y); });
}
bool RaiseKeyPress(TarvexButton& b, std::int16_t KeyAscii) {
    return Raise(b, [&](ButtonEvents& e) { e.KeyPress(b, KeyAscii); });
}
bool RaiseKeyDown(TarvexButton& b, std::int16_t KeyCode, std::int16_t Shift) {
    return Raise(b, [&](ButtonEvents& e) { e.KeyDown(b, KeyCode, Shift); });
}
bool RaiseKeyUp(TarvexButton& b, std::int16_t KeyCode, std::int16_t Shift) {
    return Raise(b, [&](ButtonEvents& e) { e.KeyUp(b, KeyCode, Shift); });
}
bool RaiseMouseOut(TarvexButton& b) {
    return Raise(b, [&](ButtonEvents& e) { e.MouseOut(b); });
}

}  // namespace

void TarvexButton::MouseDownHandler(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    mLastMouseButton = MouseButtonCode(Button);
    if (Button == kRightButton) {
        // The click notification that may follow a right press is swallowed; the look stays.
        mSuppressClick = true;
    } else {
        mButtonState = kStatePressed;
        if (IsSelectedOption(*this)) return;  // pressing the selection again does nothing
        if (IsOptionButton(*this)) {
            SetValue(kTrue);  // the group update repaints
            if (!RaiseClick(*this)) return;
        } else {
            RefreshButton();
        }
    }
    if (Button >= 0) RaiseMouseDown(*this, Button, Shift, X, Y);
}

void TarvexButton::MouseMoveHandler(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    mButtonState = kStateHover;
    if (Button < kRightButton) {
        // While a press that began here holds the mouse, moves arrive from outside too.
        if (PointerOutside(*this, X, Y)) {
            mButtonState = RestState(*this);
        } else if (Button == kLeftButton) {
            mButtonState = kStatePressed;
        }
    }
    if (mHovering == kFalse) RefreshButton();
    mHovering = kTrue;
    Host().SetHoverTimerEnabled(true);
    RaiseMouseMove(*this, Button, Shift, X, Y);
}

void TarvexButton::MouseUpHandler(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    if (Button != kRightButton) {
        mButtonState = RestState(*this);
        if (mHovering == kTrue) mButtonState = kStateHover;
        RefreshButton();
    }
    if (Button >= 0) RaiseMouseUp(*this, Button, Shift, X, Y);
}

void TarvexButton::ClickHandler() {
    if (mLastMouseButton != kLeftButton && mSuppressClick) {
        mSuppressClick = false;  // the click after a right press
        return;
    }
    if (IsOptionButton(*this)) {
        if (mValue != kFalse) return;  // Click was raised on the press
        SetValue(kTrue);
    } else {
        MouseUpHandler(kInternalButton, 1, 1.0f, 1.0f);
    }
    RaiseClick(*this);
}

void TarvexButton::DblClickHandler() {
    // The second press of a double click: pressed look (and selection), but no MouseDown and no
    // second Click on a command button.
    if (mLastMouseButton == kLeftButton) MouseDownHandler(kInternalButton, 1, 1.0f, 1.0f);
}

void TarvexButton::KeyDownHandler(std::int16_t KeyCode, std::int16_t Shift) {
    mLastKeyCode = RememberedKey(KeyCode);
    if (KeyCode == kKeySpace && SpacePresses(*this)) {
        // An option button raises Click on this press, and its handler may end the control.
        if (!Survives(*this, [&] { MouseDownHandler(kInternalButton, 0, 0.0f, 0.0f); })) return;
        RaiseKeyDown(*this, KeyCode, Shift);
        return;
    }
    if (KeyCode == kKeyEnter && IsOptionButton(*this)) return;
    if (KeyCode == kKeyRight || KeyCode == kKeyDown) {
        Host().SendKeys("{Tab}");
        return;
    }
    if (KeyCode == kKeyLeft || KeyCode == kKeyUp) {
        Host().SendKeys("+{Tab}");
        return;
    }
    RaiseKeyDown(*this, KeyCode, Shift);
}

void TarvexButton::KeyPressHandler(std::int16_t KeyAscii) {
    RaiseKeyPress(*this, KeyAscii);
}

void TarvexButton::KeyUpHandler(std::int16_t KeyCode, std::int16_t Shift) {
    const bool releasesSpacePress =
        KeyCode == kKeySpace && RememberedKey(KeyCode) == mLastKeyCode && SpacePresses(*this);
    if (!releasesSpacePress) {
        RaiseKeyUp(*this, KeyCode, Shift);
        return;
    }
    MouseUpHandler(kInternalButton, 0, 0.0f, 0.0f);
    if (!RaiseKeyUp(*this, KeyCode, Shift)) return;
    ClickHandler();
}

void TarvexButton::EnterFocus() {
    mHasFocus = kTrue;
    mLastMouseButton = kLeftButton;
    mLastKeyCode = 0;
    if (mHovering == kFalse) mButtonState = kStateFocused;
    RefreshButton();
}

void TarvexButton::ExitFocus() {
    // Only the timer stops: the mouse-over look stays until the pointer comes back and leaves.
    Host().SetHoverTimerEnabled(false);
    mHasFocus = kFalse;
    mLastMouseButton = kLeftButton;
    mLastKeyCode = 0;
    mButtonState = mHovering == kTrue ? kStateHover : kStateNormal;
    RefreshButton();
}

void TarvexButton::AccessKeyPress(std::int16_t KeyAscii) {
    if (mOptionButton == kFalse) {
        mButtonState = kStatePressed;
        RefreshButton();
        PauseSeconds(static_cast<float>(kLongestPause));
        mLastMouseButton = kLeftButton;
    }
    if (IsSelectedOption(*this)) {
        // The access key of the selection reads as a keystroke with the character as its code.
        if (!RaiseKeyDown(*this, KeyAscii, 0)) return;
        if (!RaiseKeyPress(*this, KeyAscii)) return;
        RaiseKeyUp(*this, KeyAscii, 0);
        return;
    }
    ClickHandler();
}

void TarvexButton::TimerHover_Timer() {
    if (Host().WindowUnderCursor() == Host().hWnd()) return;
    Host().SetHoverTimerEnabled(false);
    mHovering = kFalse;
    mSuppressClick = false;  // a swallowed click that never came is forgotten with the hover
    mButtonState = RestState(*this);
    RefreshButton();
    RaiseMouseOut(*this);
}

// Shows the current image, then holds the thread (no message loop) for the given time. The wait
// ends early when the host's seconds-since-midnight timer wraps, and never lasts longer than the
// access key's pressed look needs, whatever the host's timer reads.
void TarvexButton::PauseSeconds(float seconds) {
    Host().Refresh();
    if (!(seconds > 0.0f)) return;  // also NaN
    const double wanted = std::min(static_cast<double>(seconds), kLongestPause);
    const auto began = std::chrono::steady_clock::now();
    const auto limit = began + std::chrono::duration<double>(wanted);
    const double start = Host().Timer();
    while (std::chrono::steady_clock::now() < limit) {
        const double now = Host().Timer();
        if (now < start || now - start >= wanted) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace tarvex
